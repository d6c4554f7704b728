// The window's layout unit: twips (1/1440 inch) to pixels, 15 twips a pixel at 96 dpi.
#pragma once

#include <QRect>

#include <cmath>

namespace quorvane::ui {

inline int twipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

// Left, top, width and height in twips, relative to the control's container.
inline QRect twipsRect(int left, int top, int width, int height, double logicalDpi) {
    return QRect(twipsToPixels(left, logicalDpi), twipsToPixels(top, logicalDpi), twipsToPixels(width, logicalDpi),
                 twipsToPixels(height, logicalDpi));
}

} // namespace quorvane::ui
