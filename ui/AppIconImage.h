// The program's icon painted at a given size, for the window and for the icon theme's files.
#pragma once

#include <QIcon>
#include <QImage>

namespace quorvane::ui {

// `size` x `size` pixels, the 16 x 16 drawing scaled; transparent where the drawing leaves it.
QImage appIconImage(int size);

// The window's icon, with the sizes that title bars and task switchers ask for.
QIcon appIcon();

} // namespace quorvane::ui
