// The file-type and monitor options as data: captions per monitor, enabled states per type, type by extension.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quorvane::ui {

enum class Monitor { Tibug, Evmbug };

inline constexpr int kFileTypeLoader = 0;
inline constexpr int kFileTypeTaggedObject = 1;
inline constexpr int kFileTypeHexDump = 2;
inline constexpr int kFileTypeText = 3;
inline constexpr int kFileTypeCount = 4;

// The caption of optFileType(index) as the monitor handlers set it.
std::string fileTypeCaption(int index, Monitor monitor);
// The window starts with one more space in the hex dump caption than the monitor handlers give it.
std::string initialFileTypeCaption(int index);

struct EnabledState {
    bool delayFactors = false;      // the two factor boxes and their four labels
    bool ignoreAddressTags = false; // chkIgnoreAddressTags
};
// Any index other than 0 and 1 takes the row of the hex dump and text types.
EnabledState enabledStateFor(int fileTypeIndex);

// The file type chosen by a name's last extension, compared without regard to letter case so that names
// from old upper-case disks are typed the way their lower-case twins are. Never chooses the tagged object type.
int fileTypeForName(std::string_view fileName);

// True when the name matches one of "*.txt;*.obj;*.bas;*.cas;*.hex;*.bin", whatever the letter case.
bool matchesFilePattern(std::string_view fileName);

} // namespace quorvane::ui
