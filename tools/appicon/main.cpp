// quorvane_appicon FOLDER: writes the program's icon as a hicolor theme tree under FOLDER (PNG at the sizes
// desktops ask for, and the scalable SVG), so the installed icons are the window's own drawing.
#include "ui/AppIcon.h"
#include "ui/AppIconImage.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fputs("usage: quorvane_appicon FOLDER\n", stderr);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QString("%1x%1/apps").arg(size);
        if (!root.mkpath(folder) || !quorvane::ui::appIconImage(size).save(root.filePath(folder + "/quorvane.png"))) {
            std::fprintf(stderr, "quorvane_appicon: cannot write the %d px icon\n", size);
            return 1;
        }
    }
    QFile svg(root.filePath("scalable/apps/quorvane.svg"));
    const std::string text = quorvane::ui::appIconSvg();
    if (!root.mkpath("scalable/apps") || !svg.open(QIODevice::WriteOnly) ||
        svg.write(text.data(), qint64(text.size())) != qint64(text.size())) {
        std::fputs("quorvane_appicon: cannot write the scalable icon\n", stderr);
        return 1;
    }
    return 0;
}
