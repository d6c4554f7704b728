// Painting of the icon's rectangles with Qt.
#include "ui/AppIconImage.h"

#include "ui/AppIcon.h"

#include <QPainter>

namespace quorvane::ui {

QImage appIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const double scale = double(size) / kAppIconGrid;
    for (const IconRect &r : appIconRects()) {
        painter.fillRect(QRectF(r.x * scale, r.y * scale, r.width * scale, r.height * scale), QColor::fromRgb(r.rgb));
    }
    painter.end();
    return image;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
    }
    return icon;
}

} // namespace quorvane::ui
