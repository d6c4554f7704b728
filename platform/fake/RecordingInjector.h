// Injectors for tests: one that records every batch and prints it readably, one that discards.
#pragma once

#include "platform/KeyInjector.h"
#include "platform/fake/Transcript.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorvane::platform {

// Records as text: "Shift↓ A↓ A↑ Shift↑", "Down↓ext", "U+20AC↓"; with scan codes "A↓[1E]".
std::string formatKeyRecords(std::span<const KeyRecord> records, bool withScanCodes = false);

// With a transcript it also records "keys <records>" per batch ("keys refused" when it took none),
// "restrict #<id>" / "restrict none" and "finish", in order with the other fakes.
class RecordingInjector : public KeyInjector {
public:
    explicit RecordingInjector(Transcript *transcript = nullptr) : m_transcript(transcript) {}

    std::size_t inject(std::span<const KeyRecord> records) override;
    InjectRefusal lastRefusal() const override { return m_refusal; }
    // Like the X11 injector's server grab, a batch counts as held until the next pause().
    void pause() override { m_holdsBatch = false; }
    void finish() override;
    void restrictTo(std::optional<WindowId> window) override;

    // The next batch is cut to its first `count` records, as when the system refuses the rest.
    void acceptOnlyNext(std::size_t count) { m_acceptLimit = count; }
    // The next `count` batches that hold a key-down are refused whole, as when the focus is elsewhere.
    void refuseNextBatches(std::size_t count) { m_batchesToRefuse = count; }
    // What lastRefusal() answers from now on.
    void refuseWith(InjectRefusal refusal) { m_refusal = refusal; }
    bool holdsBatch() const { return m_holdsBatch; }
    std::optional<WindowId> restriction() const { return m_restriction; }

    // Every record that was inserted, in order, over all batches.
    std::vector<KeyRecord> records() const;
    // The inserted records as text; batches after the first are set apart by " | ".
    std::string transcript(bool withScanCodes = false) const;
    const std::vector<std::vector<KeyRecord>> &batches() const { return m_batches; }
    std::size_t finishCount() const { return m_finishCount; }
    // Forgets the batches and any pending cut.
    void clear() {
        m_batches.clear();
        m_acceptLimit.reset();
        m_batchesToRefuse = 0;
    }

private:
    std::vector<std::vector<KeyRecord>> m_batches;
    std::optional<std::size_t> m_acceptLimit;
    std::size_t m_batchesToRefuse = 0;
    std::optional<WindowId> m_restriction;
    std::size_t m_finishCount = 0;
    InjectRefusal m_refusal;
    bool m_holdsBatch = false;
    Transcript *m_transcript;
};

// Takes every record and keeps none: for measuring the synthesiser alone.
class DiscardingInjector : public KeyInjector {
public:
    std::size_t inject(std::span<const KeyRecord> records) override {
        m_recordCount += records.size();
        return records.size();
    }
    void finish() override {}
    std::size_t recordCount() const { return m_recordCount; }

private:
    std::size_t m_recordCount = 0;
};

} // namespace quorvane::platform
