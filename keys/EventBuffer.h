// The records of one key sequence, collected before they are injected together.
#pragma once

#include "platform/KeyRecord.h"

#include <cstddef>
#include <span>
#include <vector>

namespace quorvane::keys {

class EventBuffer {
public:
    static constexpr std::size_t kInitialCapacity = 512;
    static constexpr std::size_t kGrowthStep = 511;
    static constexpr std::size_t kLowWater = 25;

    // Starts an empty buffer of the initial capacity; storage of earlier sequences is reused.
    void begin();
    // Called between top-level items: grows by one step when kLowWater or fewer records are free.
    void ensureRoom();
    // Ends the sequence; storage that a very long sequence needed is given back.
    void release();

    void append(platform::KeyRecord record) { m_records.push_back(record); }
    // Drops the last record (an Alt down that nothing followed).
    void dropLast() { m_records.pop_back(); }

    std::size_t size() const { return m_records.size(); }
    std::size_t capacity() const { return m_capacity; }
    std::span<const platform::KeyRecord> records() const { return m_records; }

private:
    std::vector<platform::KeyRecord> m_records;
    std::size_t m_capacity = kInitialCapacity;
};

} // namespace quorvane::keys
