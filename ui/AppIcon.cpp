// The icon's rectangles and their SVG form.
#include "ui/AppIcon.h"

#include <array>
#include <cstdio>

namespace quorvane::ui {
namespace {

// Colours of the 16-colour palette: dark grey body, yellow pins, dark blue die.
constexpr std::uint32_t kBody = 0x808080;
constexpr std::uint32_t kPin = 0xFFFF00;
constexpr std::uint32_t kDie = 0x000080;

constexpr std::array kRects = {
    IconRect{3, 2, 10, 12, kBody}, IconRect{0, 3, 3, 1, kPin}, IconRect{13, 3, 3, 1, kPin}, IconRect{0, 6, 3, 1, kPin},
    IconRect{13, 6, 3, 1, kPin},   IconRect{0, 9, 3, 1, kPin}, IconRect{13, 9, 3, 1, kPin}, IconRect{0, 12, 3, 1, kPin},
    IconRect{13, 12, 3, 1, kPin},  IconRect{5, 5, 6, 6, kDie},
};

} // namespace

std::span<const IconRect> appIconRects() { return kRects; }

std::string appIconSvg() {
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" viewBox=\"0 0 16 16\">\n";
    for (const IconRect &r : kRects) {
        char line[128];
        std::snprintf(line, sizeof line, "  <rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#%06X\"/>\n", r.x,
                      r.y, r.width, r.height, static_cast<unsigned>(r.rgb));
        svg += line;
    }
    return svg + "</svg>\n";
}

} // namespace quorvane::ui
