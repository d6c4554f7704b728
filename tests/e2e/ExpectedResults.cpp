// Expected memory images and received bytes, derived from the transferred files independently of the engine.
#include "tests/e2e/ExpectedResults.h"

#include "tests/e2e/BoardTerminal.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <vector>

namespace quorvane::test {
namespace {

std::uint16_t hexWord(const std::string &line, std::size_t at) {
    return static_cast<std::uint16_t>(std::stoul(line.substr(at, 4), nullptr, 16));
}

std::vector<std::string> splitLines(const std::string &content) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] != '\r') {
            line += content[i];
            continue;
        }
        if (i + 1 < content.size() && content[i + 1] == '\n') {
            ++i;
        }
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

std::string imageText(const Memory &memory) {
    std::string text;
    for (const auto &[address, word] : memory) {
        char line[16];
        std::snprintf(line, sizeof line, "%04X=%04X\n", address, word);
        text += line;
    }
    return text;
}

Memory objectCodeMemory(const std::string &objectCode, std::optional<std::uint16_t> startAddress) {
    Memory memory;
    std::uint16_t address = startAddress.value_or(0);
    for (const std::string &record : splitLines(objectCode)) {
        std::size_t at = 0;
        while (at < record.size()) {
            const char tag = record[at];
            if (tag == '0') {
                at += 13;
            } else if (tag == '9') {
                address = startAddress ? address : hexWord(record, at + 1);
                at += 5;
            } else if (tag == 'B') {
                memory[address] = hexWord(record, at + 1);
                address = static_cast<std::uint16_t>(address + 2);
                at += 5;
            } else if (tag == ':') {
                return memory;
            } else {
                break;
            }
        }
    }
    return memory;
}

Memory binaryMemory(const std::string &bytes, std::uint16_t startAddress) {
    Memory memory;
    std::uint16_t address = startAddress;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto high = static_cast<std::uint8_t>(bytes[i]);
        const auto low = i + 1 < bytes.size() ? static_cast<std::uint8_t>(bytes[i + 1]) : std::uint8_t{0};
        memory[address] = static_cast<std::uint16_t>(high << 8 | low);
        address = static_cast<std::uint16_t>(address + 2);
    }
    return memory;
}

std::string typedText(const std::string &fileContent) {
    std::string typed;
    const std::vector<std::string> lines = splitLines(fileContent);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        typed += lines[i];
        if (i + 1 < lines.size()) {
            typed += '\r';
        }
    }
    return typed;
}

std::string expectedResult(Check check, const std::string &file, const std::string &content,
                           std::optional<std::uint16_t> startAddress) {
    switch (check) {
    case Check::SampleImage: {
        const std::string path = samplesFolder() + "/" + file;
        return readFile(path.substr(0, path.rfind('.')) + ".image").value_or("(no sample image)");
    }
    case Check::ObjectImage:
        return imageText(objectCodeMemory(content, std::nullopt));
    case Check::ObjectImageIgnoringTags:
        return imageText(objectCodeMemory(content, startAddress));
    case Check::BinaryImage:
        return imageText(binaryMemory(content, startAddress.value_or(0)));
    case Check::Text:
        return typedText(content);
    }
    return {};
}

} // namespace quorvane::test
