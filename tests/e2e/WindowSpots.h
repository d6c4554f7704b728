// Where the window's controls are, in the twips of its fixed layout, and the stored folder it opens in.
#pragma once

#include <optional>
#include <string>

namespace quorvane::test {

// The window's width in twips; its layout is fixed in twips, so a control's place scales with the width.
inline constexpr double kWindowWidthTwips = 10785;

struct Spot {
    int x; // twips from the window's left edge
    int y; // twips from its top edge
};

// The place to click for a control (buttons, option buttons, the check box, text boxes, the file list).
std::optional<Spot> controlSpot(const std::string &control);

// Stores `folder` as the default folder in the settings under `configHome`, so that the window's browser opens there.
bool writeStoredFolder(const std::string &configHome, const std::string &folder);

} // namespace quorvane::test
