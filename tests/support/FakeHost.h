// The window's controls as plain values, for engine, ui and Win32 tests and the benchmarks.
#pragma once

#include "engine/EngineHost.h"
#include "platform/fake/Transcript.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvane::test {

// With a transcript, STOP! changes and the program's end go into it, in order with the other fakes.
class FakeHost : public engine::EngineHost {
public:
    explicit FakeHost(platform::Transcript *transcript = nullptr) : m_transcript(transcript) {}

    std::optional<std::string> selectedFile() override { return selected; }
    std::string folderPath() override { return folder; }
    engine::FileType fileType() override { return type; }
    bool tibugSelected() override { return tibug; }
    std::string terminalTitleTerm() override { return term; }
    bool ignoreAddressTags() override { return ignoreTags; }
    std::string charFactorText() override { return charFactor; }
    std::string lineFactorText() override { return lineFactor; }
    bool stopVisible() override { return stopShown; }
    void setStopVisible(bool visible) override;
    std::string windowCaption() override { return caption; }
    void progress(std::uint64_t done, std::uint64_t total) override { progressReports.emplace_back(done, total); }
    // "hold" and "go on"; "notice <text>".
    void holding(bool held) override { note(held ? "hold" : "go on"); }
    void notice(std::string_view text) override { note("notice " + std::string(text)); }
    void endProgram() override;

    // The STOP! click.
    void clickStop();
    // Selects `file` in its folder, as a click in the file list does.
    void select(const std::filesystem::path &file);

    std::optional<std::string> selected = "file";
    std::string folder;
    engine::FileType type = engine::FileType::Text;
    bool tibug = false;
    std::string term = "Tera Term";
    bool ignoreTags = false;
    std::string charFactor = "1.0";
    std::string lineFactor = "1.0";
    bool stopShown = false;
    std::string caption = "Quorvane";
    bool ended = false;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progressReports;

private:
    void note(std::string entry);

    platform::Transcript *m_transcript;
};

} // namespace quorvane::test
