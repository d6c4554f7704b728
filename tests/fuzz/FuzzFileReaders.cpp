// libFuzzer target: any file sent as each of the four types on the fake platform. The transfer ends in one of
// its expected ways, and a hex dump or a text types exactly what a whole-file reading of the bytes says.
#include "engine/CharacterKeys.h"
#include "engine/SendOperation.h"
#include "engine/TextDecoding.h"
#include "platform/fake/CapturedDialogs.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeEventPump.h"
#include "platform/fake/FakeKeyboardLayout.h"
#include "platform/fake/RecordingInjector.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quorvane;

namespace {

class Host : public engine::EngineHost {
public:
    std::optional<std::string> selectedFile() override { return "input"; }
    std::string folderPath() override { return folder; }
    engine::FileType fileType() override { return type; }
    bool tibugSelected() override { return tibug; }
    std::string terminalTitleTerm() override { return "Tera Term"; }
    bool ignoreAddressTags() override { return ignoreTags; }
    std::string charFactorText() override { return "0"; }
    std::string lineFactorText() override { return "0"; }
    bool stopVisible() override { return m_stop; }
    void setStopVisible(bool visible) override { m_stop = visible; }
    std::string windowCaption() override { return "Quorvane"; }
    void progress(std::uint64_t done, std::uint64_t total) override {
        if (done > total) {
            fail("progress beyond the file's size");
        }
    }
    void endProgram() override {}

    static void fail(const std::string &what) {
        std::fprintf(stderr, "file reader rule broken: %s\n", what.c_str());
        std::abort();
    }

    std::string folder;
    engine::FileType type = engine::FileType::Text;
    bool tibug = false;
    bool ignoreTags = false;

private:
    bool m_stop = false;
};

class Sink : public engine::KeySequenceSink {
public:
    bool SendKeySequence(std::u16string_view keys) override {
        typed.emplace_back(keys);
        return true;
    }
    std::vector<std::u16string> typed;
};

// In memory where Linux offers it (writing the file is most of the cost of an input); removed at exit.
struct ScratchFolder {
    ScratchFolder() {
        const std::filesystem::path shm = "/dev/shm";
        const auto base = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        path = base / ("quorvane-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

std::vector<std::u16string> hexWords(std::span<const std::uint8_t> bytes) {
    std::vector<std::u16string> keys;
    constexpr std::u16string_view digits = u"0123456789ABCDEF";
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const unsigned word = bytes[i] << 8 | (i + 1 < bytes.size() ? bytes[i + 1] : 0);
        for (const unsigned shift : {12u, 8u, 4u, 0u}) {
            keys.emplace_back(digits.substr((word >> shift) & 0xF, 1));
        }
        keys.emplace_back(u" ");
    }
    keys.emplace_back(u"\r");
    return keys;
}

// The whole file at once: marks removed, the character set decided over all of it, lines split, characters
// that no key produces left out, a carriage return between lines.
std::vector<std::u16string> textKeys(std::span<const std::uint8_t> bytes) {
    if (!bytes.empty() && bytes.back() == 0x1A) {
        bytes = bytes.first(bytes.size() - 1);
    }
    engine::Utf8Validator validator;
    validator.feed(bytes);
    std::size_t i = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    std::vector<std::u32string> lines;
    std::u32string line;
    bool open = false;
    while (i < bytes.size()) {
        const engine::DecodedCharacter decoded =
            validator.valid() ? engine::decodeUtf8(bytes.subspan(i))
                              : engine::DecodedCharacter{engine::windows1252ToUnicode(bytes[i]), 1};
        i += decoded.length;
        open = true;
        if (decoded.ch == U'\r' || decoded.ch == U'\n') {
            if (decoded.ch == U'\r' && i < bytes.size() && bytes[i] == '\n') {
                ++i;
            }
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            line.push_back(decoded.ch);
        }
    }
    if (open) {
        lines.push_back(line);
    }
    std::vector<std::u16string> keys;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        for (const char32_t ch : lines[n]) {
            if (engine::typeable(ch)) {
                keys.push_back(engine::keySequenceFor(ch));
            }
        }
        if (n + 1 < lines.size()) {
            keys.emplace_back(u"\r");
        }
    }
    return keys;
}

} // namespace

// Byte 0: bits 0-1 the file type, bit 2 TIBUG, bit 3 ignore address tags. The rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    static const ScratchFolder scratch;
    const std::filesystem::path &folder = scratch.path;
    const std::span<const std::uint8_t> content(data + 1, size - 1);
    std::ofstream(folder / "input", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(content.data()), static_cast<std::streamsize>(content.size()));

    Host host;
    host.folder = folder.string();
    host.type = static_cast<engine::FileType>(data[0] & 3);
    host.tibug = (data[0] & 4) != 0;
    host.ignoreTags = (data[0] & 8) != 0;
    platform::ManualClock clock;
    platform::FakeTimer timer(clock);
    platform::FakeEventPump pump(clock, timer);
    platform::FakeDesktop desktop;
    desktop.addWindow(7, "COM1 - Tera Term VT");
    platform::FakeKeyboardLayout layout;
    platform::RecordingInjector injector;
    platform::CapturedDialogs dialogs;
    Sink sink;
    engine::SendOperation operation(host, {desktop, layout, injector, pump, timer, clock, dialogs}, sink);
    const engine::SendResult result = operation.Send();

    using engine::FileType;
    using engine::SendResult;
    const bool text = host.type == FileType::Text;
    const bool object = host.type == FileType::Loader || host.type == FileType::TaggedObject;
    const bool expected = result == SendResult::Completed || (text && result == SendResult::CharactersLeftOut) ||
                          (object && result == SendResult::MalformedFile);
    if (!expected) {
        Host::fail("the transfer ended as " + std::to_string(static_cast<int>(result)));
    }
    if (host.type == FileType::HexDump && sink.typed != hexWords(content)) {
        Host::fail("the hex dump typed other words than the file holds");
    }
    if (text && sink.typed != textKeys(content)) {
        Host::fail("the text typed other keys than a whole-file reading gives");
    }
    return 0;
}
