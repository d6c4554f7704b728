// The four help pages of the file-type "?" button, worded for the selected monitor.
#pragma once

#include "ui/FileTypeOptions.h"

#include <string>
#include <vector>

namespace quorvane::ui {

// Each page is its heading and paragraphs joined by CR LF CR LF, with no line break at the end.
std::vector<std::string> helpPages(Monitor monitor);

} // namespace quorvane::ui
