// Build tool: writes the window icon, drawn in code, into an icon theme folder: one PNG per
// size desktops and software centres ask for, and the same drawing as SVG for "scalable".
//   QT_QPA_PLATFORM=offscreen ./icon_export THEME_DIR NAME
// writes THEME_DIR/16x16/apps/NAME.png ... THEME_DIR/256x256/apps/NAME.png and
// THEME_DIR/scalable/apps/NAME.svg.

#include "app/Icons.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};

bool writeSvg(const QString& path)
{
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(QSize(app::kIconDesignSize, app::kIconDesignSize));
    generator.setViewBox(QRect(0, 0, app::kIconDesignSize, app::kIconDesignSize));
    generator.setTitle(QStringLiteral("Zelqua Converter Editor"));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    app::paintWindowIcon(painter);
    return painter.end();
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s THEME_DIR NAME\n", argv[0]);
        return 2;
    }
    const QDir theme(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int size : kSizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!theme.mkpath(folder) || !app::windowIconPixmap(size).save(theme.filePath(folder + u'/' + name + QLatin1String(".png")), "PNG"))
            return 1;
    }
    const QString scalable = QStringLiteral("scalable/apps");
    if (!theme.mkpath(scalable) || !writeSvg(theme.filePath(scalable + u'/' + name + QLatin1String(".svg"))))
        return 1;
    return 0;
}
