// The file-type and monitor options as data: captions per monitor, enabled states per type, type by extension.
#pragma once

#include "engine/FileType.h"

#include <array>
#include <string>
#include <string_view>

namespace quorvane::ui {

enum class Monitor { Tibug, Evmbug };

using engine::FileType;

// The type that optFileType(index) stands for: the one place that ties the window's options to the types.
inline constexpr std::array<FileType, 4> kFileTypeOptions = {FileType::Loader, FileType::TaggedObject,
                                                             FileType::HexDump, FileType::Text};
// The index of the option that stands for `type`.
int fileTypeOption(FileType type);

// The caption of the type's option as the monitor handlers set it.
std::string fileTypeCaption(FileType type, Monitor monitor);
// The window starts with one more space in the hex dump caption than the monitor handlers give it.
std::string initialFileTypeCaption(FileType type);

struct EnabledState {
    bool delayFactors = false;      // the two factor boxes and their four labels
    bool ignoreAddressTags = false; // chkIgnoreAddressTags
};
EnabledState enabledStateFor(FileType type);

// The file type chosen by a name's last extension, compared without regard to letter case so that names
// from old upper-case disks are typed the way their lower-case twins are. Never chooses the tagged object type.
FileType fileTypeForName(std::string_view fileName);

// True when the name matches one of "*.txt;*.obj;*.bas;*.cas;*.hex;*.bin", whatever the letter case.
bool matchesFilePattern(std::string_view fileName);

} // namespace quorvane::ui
