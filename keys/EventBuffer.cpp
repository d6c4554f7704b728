// The records of one key sequence, collected before they are injected together.
#include "keys/EventBuffer.h"

namespace quorvane::keys {
namespace {

// Storage beyond this is not kept between sequences, so one huge string does not hold memory for the run.
constexpr std::size_t kKeptStorage = 4 * EventBuffer::kInitialCapacity;

} // namespace

void EventBuffer::begin() {
    m_records.clear();
    m_capacity = kInitialCapacity;
    m_records.reserve(m_capacity);
}

void EventBuffer::ensureRoom() {
    if (m_records.size() + kLowWater >= m_capacity) {
        m_capacity += kGrowthStep;
        m_records.reserve(m_capacity);
    }
}

void EventBuffer::release() {
    m_records.clear();
    if (m_records.capacity() > kKeptStorage) {
        m_records.shrink_to_fit();
    }
}

} // namespace quorvane::keys
