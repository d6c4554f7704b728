// Injectors for tests: one that records every batch and prints it readably, one that discards.
#include "platform/fake/RecordingInjector.h"

#include "platform/fake/KeyNames.h"

#include <algorithm>
#include <cstdio>

namespace quorvane::platform {
namespace {

constexpr std::uint32_t kKnownFlags = kExtendedKey | kKeyUp | kUnicode;

std::string formatRecord(const KeyRecord &record, bool withScanCode) {
    char text[48];
    const char *arrow = record.keyUp() ? "↑" : "↓";
    if (record.unicode()) {
        std::snprintf(text, sizeof text, "U+%04X%s", static_cast<unsigned>(record.scan), arrow);
    } else {
        std::snprintf(text, sizeof text, "%s%s", virtualKeyName(record.vk).c_str(), arrow);
    }
    std::string out = text;
    if (record.extended()) {
        out += "ext";
    }
    // Fields that the rules never produce are shown, so a comparison catches them.
    if (record.unicode() && record.vk != 0) {
        out += "(vk " + std::to_string(record.vk) + ")";
    }
    if ((record.flags & ~kKnownFlags) != 0) {
        out += "(flags " + std::to_string(record.flags) + ")";
    }
    if (withScanCode && !record.unicode()) {
        std::snprintf(text, sizeof text, "[%02X]", static_cast<unsigned>(record.scan));
        out += text;
    }
    return out;
}

} // namespace

std::string formatKeyRecords(std::span<const KeyRecord> records, bool withScanCodes) {
    std::string out;
    for (const KeyRecord &record : records) {
        if (!out.empty()) {
            out += ' ';
        }
        out += formatRecord(record, withScanCodes);
    }
    return out;
}

std::size_t RecordingInjector::inject(std::span<const KeyRecord> records) {
    m_holdsBatch = true;
    std::size_t accepted = records.size();
    if (m_acceptLimit) {
        accepted = std::min(accepted, *m_acceptLimit);
        m_acceptLimit.reset();
    }
    const bool pressesKey = std::any_of(records.begin(), records.end(), [](const auto &r) { return !r.keyUp(); });
    if (m_batchesToRefuse > 0 && pressesKey) {
        --m_batchesToRefuse;
        accepted = 0;
    }
    m_batches.emplace_back(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(accepted));
    if (m_transcript != nullptr) {
        m_transcript->add(accepted == 0 && !records.empty() ? "keys refused"
                                                            : "keys " + formatKeyRecords(m_batches.back()));
    }
    return accepted;
}

void RecordingInjector::finish() {
    ++m_finishCount;
    if (m_transcript != nullptr) {
        m_transcript->add("finish");
    }
}

void RecordingInjector::restrictTo(std::optional<WindowId> window) {
    m_restriction = window;
    if (m_transcript != nullptr) {
        m_transcript->add(window ? "restrict #" + std::to_string(*window) : std::string("restrict none"));
    }
}

std::vector<KeyRecord> RecordingInjector::records() const {
    std::vector<KeyRecord> all;
    for (const auto &batch : m_batches) {
        all.insert(all.end(), batch.begin(), batch.end());
    }
    return all;
}

std::string RecordingInjector::transcript(bool withScanCodes) const {
    std::string out;
    for (const auto &batch : m_batches) {
        if (!out.empty()) {
            out += " | ";
        }
        out += formatKeyRecords(batch, withScanCodes);
    }
    return out;
}

} // namespace quorvane::platform
