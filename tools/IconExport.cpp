// Build tool: writes the window icon, drawn in code, as the 32 x 32 PNG the desktop's icon
// theme installs.   QT_QPA_PLATFORM=offscreen ./icon_export OUTPUT.png

#include "app/Icons.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    return app::windowIconPixmap().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
