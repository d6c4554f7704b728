// A host for benchmark transfers: fixed control values, a file in a folder of its own, STOP! never clicked.
#pragma once

#include "engine/EngineHost.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace quorvane::bench {

class BenchHost : public engine::EngineHost {
public:
    BenchHost() {
        std::mt19937_64 names{std::random_device{}()};
        m_folder = std::filesystem::temp_directory_path() / ("quorvane-bench-" + std::to_string(names()));
        std::filesystem::create_directories(m_folder);
    }
    ~BenchHost() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    void writeFile(const std::string &name, const std::string &bytes) {
        std::ofstream(m_folder / name, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        selected = name;
    }

    std::optional<std::string> selectedFile() override { return selected; }
    std::string folderPath() override { return m_folder.string(); }
    engine::FileType fileType() override { return type; }
    bool tibugSelected() override { return false; }
    std::string terminalTitleTerm() override { return "Tera Term"; }
    bool ignoreAddressTags() override { return false; }
    std::string charFactorText() override { return charFactor; }
    std::string lineFactorText() override { return lineFactor; }
    bool stopVisible() override { return m_stop; }
    void setStopVisible(bool visible) override { m_stop = visible; }
    std::string windowCaption() override { return "Quorvane"; }
    void progress(std::uint64_t, std::uint64_t) override {}
    void endProgram() override {}

    std::string selected;
    engine::FileType type = engine::FileType::Text;
    std::string charFactor = "0";
    std::string lineFactor = "0";

private:
    std::filesystem::path m_folder;
    bool m_stop = false;
};

} // namespace quorvane::bench
