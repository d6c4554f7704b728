// Captions, enabled states and the extension rule of the file-type options.
#include "ui/FileTypeOptions.h"

#include <algorithm>
#include <cctype>

namespace quorvane::ui {
namespace {

// The runs of spaces push "Send To ..." onto the second line of the two-line option buttons.
constexpr std::string_view kLoaderCaption = "Tagged Object Code -  Send To Loader";
constexpr std::string_view kTaggedPrefix = "Tagged Object Code -              Send To ";
constexpr std::string_view kHexPrefix = "Hex Dump -                          Send To ";
constexpr std::string_view kHexPrefixAtStart = "Hex Dump -                           Send To ";
constexpr std::string_view kTextCaption = "Text File";
constexpr std::array<std::string_view, 6> kPatternExtensions = {".txt", ".obj", ".bas", ".cas", ".hex", ".bin"};

std::string monitorCommand(Monitor monitor) {
    return monitor == Monitor::Tibug ? "TIBUG M Command" : "EVMBUG IM Command";
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string lastExtension(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string() : lowerAscii(fileName.substr(dot));
}

} // namespace

int fileTypeOption(FileType type) {
    return static_cast<int>(std::find(kFileTypeOptions.begin(), kFileTypeOptions.end(), type) -
                            kFileTypeOptions.begin());
}

std::string fileTypeCaption(FileType type, Monitor monitor) {
    switch (type) {
    case FileType::Loader:
        return std::string(kLoaderCaption);
    case FileType::TaggedObject:
        return std::string(kTaggedPrefix) + monitorCommand(monitor);
    case FileType::HexDump:
        return std::string(kHexPrefix) + monitorCommand(monitor);
    case FileType::Text:
        break;
    }
    return std::string(kTextCaption);
}

std::string initialFileTypeCaption(FileType type) {
    if (type == FileType::HexDump) {
        return std::string(kHexPrefixAtStart) + monitorCommand(Monitor::Evmbug);
    }
    return fileTypeCaption(type, Monitor::Evmbug);
}

EnabledState enabledStateFor(FileType type) {
    switch (type) {
    case FileType::Loader:
        return {false, false};
    case FileType::TaggedObject:
        return {true, true};
    case FileType::HexDump:
    case FileType::Text:
        break;
    }
    return {true, false};
}

FileType fileTypeForName(std::string_view fileName) {
    const std::string extension = lastExtension(fileName);
    if (extension == ".obj") {
        return FileType::Loader;
    }
    if (extension == ".cas" || extension == ".hex" || extension == ".bin") {
        return FileType::HexDump;
    }
    return FileType::Text;
}

bool matchesFilePattern(std::string_view fileName) {
    const std::string lower = lowerAscii(fileName);
    return std::any_of(kPatternExtensions.begin(), kPatternExtensions.end(), [&](std::string_view extension) {
        return lower.size() >= extension.size() &&
               lower.compare(lower.size() - extension.size(), std::string::npos, extension) == 0;
    });
}

} // namespace quorvane::ui
