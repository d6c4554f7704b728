// The key-sequence recorder and the rig that runs Send operations on the fakes.
#include "TransferRig.h"

#include "engine/Pacer.h"

#include <algorithm>

namespace quorvane::engine::test {

bool RecordingSink::SendKeySequence(std::u16string_view keys) {
    std::string text;
    for (const char16_t unit : keys) {
        if (unit == u'\r') {
            text += "<CR>";
        } else if (unit == u' ') {
            text += "<SP>";
        } else if (unit < 0x80) {
            text.push_back(static_cast<char>(unit));
        } else {
            text += "U+" + std::to_string(static_cast<unsigned>(unit));
        }
    }
    m_transcript.add("type " + text);
    m_clock.advance(timePerString);
    return true;
}

TransferRig::TransferRig() : FakePlatform(&transcript), operation(host, services(), sink) {
    host.folder = folder.string();
    desktop.addWindow(kOwnWindow, "Quorvane");
    desktop.addWindow(kTeraTermWindow, "COM1:9600baud - Tera Term VT");
}

void TransferRig::writeFile(std::string_view bytes) { files.write(*host.selected, bytes); }

std::vector<std::string> TransferRig::afterInitialWait() const {
    const auto &entries = transcript.entries();
    auto it = std::find(entries.begin(), entries.end(), delay(1000));
    return it == entries.end() ? entries : std::vector<std::string>(it + 1, entries.end());
}

std::vector<std::string> TransferRig::typed() const {
    std::vector<std::string> keys;
    for (const std::string &entry : transcript.entries()) {
        if (entry.starts_with("type ")) {
            keys.push_back(entry.substr(5));
        }
    }
    return keys;
}

void TransferRig::stopAt(std::chrono::microseconds when) {
    pump.at(when, [this] { host.clickStop(); });
}

std::string key(std::string_view keys) { return "type " + std::string(keys); }

std::string passes(std::uint64_t count) {
    const auto length = static_cast<std::int64_t>(count) * kCharDelayPassLength;
    return "wait " + std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(length).count()) + "us";
}

std::string delay(int milliseconds) { return "delay " + std::to_string(milliseconds) + "ms"; }

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto &part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

} // namespace quorvane::engine::test
