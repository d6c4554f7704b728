// A whole Send operation on fakes: host controls, desktop, clock, pump, timer and dialogs in one transcript.
#pragma once

#include "engine/KeySequenceSink.h"
#include "engine/SendOperation.h"
#include "platform/fake/Transcript.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <string>
#include <vector>

namespace quorvane::engine::test {

using platform::Transcript;
using quorvane::test::FakeHost;

// Records "type <keys>", with the carriage return as <CR> and the space as <SP>. Each string takes
// `timePerString` on the clock, as injecting does on a real desktop.
class RecordingSink : public KeySequenceSink {
public:
    RecordingSink(Transcript &transcript, platform::ManualClock &clock) : m_transcript(transcript), m_clock(clock) {}
    bool SendKeySequence(std::u16string_view keys) override;

    std::chrono::nanoseconds timePerString{};

private:
    Transcript &m_transcript;
    platform::ManualClock &m_clock;
};

inline constexpr platform::WindowId kOwnWindow = 1;
inline constexpr platform::WindowId kTeraTermWindow = 7;

// The transcript comes first, so that it outlives the fakes that write into it.
struct RigTranscript {
    Transcript transcript;
};

// The fake platform, the host and a key-sequence recorder, all writing into one transcript; the desktop holds
// Quorvane's own window and a Tera Term, and the host's file lives in a folder of its own.
class TransferRig : public RigTranscript, public quorvane::test::FakePlatform {
public:
    TransferRig();

    // Writes the file the host has selected, in a folder of its own.
    void writeFile(std::string_view bytes);
    SendResult send() { return operation.Send(); }

    // The transcript after the initial wait (the sender's work and the end), or all of it.
    std::vector<std::string> afterInitialWait() const;
    // Only the keystrokes, in order, without "type ".
    std::vector<std::string> typed() const;
    // Clicks STOP! at `when` since the start (the initial wait ends at 1000 ms).
    void stopAt(std::chrono::microseconds when);

    FakeHost host{&transcript};
    RecordingSink sink{transcript, clock};
    quorvane::test::TempFolder files{"quorvane-engine-"};
    const std::filesystem::path &folder = files.path();
    SendOperation operation;
};

// Expected transcript pieces.
std::string key(std::string_view keys);
std::string passes(std::uint64_t count);
std::string delay(int milliseconds);
std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts);

} // namespace quorvane::engine::test
