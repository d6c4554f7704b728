// The program's icon, a chip with pins, as filled rectangles on a 16 x 16 grid: one drawing for the window, the
// desktop's icon theme at every size, and its scalable form.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quorvane::ui {

inline constexpr int kAppIconGrid = 16;

struct IconRect {
    int x, y, width, height; // in grid cells
    std::uint32_t rgb;       // 0xRRGGBB
};

// In painting order; what is not covered stays transparent.
std::span<const IconRect> appIconRects();

// The same drawing as an SVG document, for the scalable icon.
std::string appIconSvg();

} // namespace quorvane::ui
