// A whole Send operation on fakes: host controls, desktop, clock, pump, timer and dialogs in one transcript.
#pragma once

#include "engine/EngineHost.h"
#include "engine/KeySequenceSink.h"
#include "engine/SendOperation.h"
#include "platform/fake/CapturedDialogs.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeEventPump.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/FakeTimer.h"
#include "platform/fake/ManualClock.h"
#include "platform/fake/Transcript.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace quorvane::engine::test {

using platform::Transcript;

// The window's controls as plain values; STOP! changes and the program's end go into the transcript.
class FakeHost : public EngineHost {
public:
    explicit FakeHost(Transcript &transcript) : m_transcript(transcript) {}

    std::optional<std::string> selectedFile() override { return selected; }
    std::string folderPath() override { return folder; }
    FileType fileType() override { return type; }
    bool tibugSelected() override { return tibug; }
    std::string terminalTitleTerm() override { return term; }
    bool ignoreAddressTags() override { return ignoreTags; }
    std::string charFactorText() override { return charFactor; }
    std::string lineFactorText() override { return lineFactor; }
    bool stopVisible() override { return stopShown; }
    void setStopVisible(bool visible) override;
    std::string windowCaption() override { return caption; }
    void progress(std::uint64_t done, std::uint64_t total) override { progressReports.emplace_back(done, total); }
    void endProgram() override { m_transcript.add("end program"); }

    // The STOP! click.
    void clickStop();

    std::optional<std::string> selected = "file";
    std::string folder;
    FileType type = FileType::Text;
    bool tibug = false;
    std::string term = "Tera Term";
    bool ignoreTags = false;
    std::string charFactor = "1.0";
    std::string lineFactor = "1.0";
    bool stopShown = false;
    std::string caption = "Quorvane";
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progressReports;

private:
    Transcript &m_transcript;
};

// Records "type <keys>", with the carriage return as <CR> and the space as <SP>.
class RecordingSink : public KeySequenceSink {
public:
    explicit RecordingSink(Transcript &transcript) : m_transcript(transcript) {}
    bool SendKeySequence(std::u16string_view keys) override;

private:
    Transcript &m_transcript;
};

// Records "finish".
class FinishRecorder : public platform::KeyInjector {
public:
    explicit FinishRecorder(Transcript &transcript) : m_transcript(transcript) {}
    std::size_t inject(std::span<const platform::KeyRecord> records) override { return records.size(); }
    void finish() override { m_transcript.add("finish"); }

private:
    Transcript &m_transcript;
};

inline constexpr platform::WindowId kOwnWindow = 1;
inline constexpr platform::WindowId kTeraTermWindow = 7;

class TransferRig {
public:
    TransferRig();
    ~TransferRig();

    // Writes the file the host has selected, in a folder of its own.
    void writeFile(std::string_view bytes);
    SendResult send() { return operation.Send(); }

    // The transcript after the initial wait (the sender's work and the end), or all of it.
    std::vector<std::string> afterInitialWait() const;
    // Only the keystrokes, in order, without "type ".
    std::vector<std::string> typed() const;
    // Clicks STOP! at `when` since the start (the initial wait ends at 1000 ms).
    void stopAt(std::chrono::microseconds when);

    Transcript transcript;
    platform::ManualClock clock;
    platform::FakeTimer timer{clock, &transcript};
    platform::FakeEventPump pump{clock, timer, &transcript};
    platform::FakeDesktop desktop{&transcript};
    platform::CapturedDialogs dialogs{&transcript};
    platform::FakeKeyboardLayout layout;
    FinishRecorder injector{transcript};
    FakeHost host{transcript};
    RecordingSink sink{transcript};
    std::filesystem::path folder;
    SendOperation operation;
};

// Expected transcript pieces.
std::string key(std::string_view keys);
std::string passes(std::uint64_t count);
std::string delay(int milliseconds);
std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts);

} // namespace quorvane::engine::test
