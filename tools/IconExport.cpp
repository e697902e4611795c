// Build tool: writes the window icon, drawn in code, for the desktops that show it.
//   QT_QPA_PLATFORM=offscreen ./icon_export THEME_DIR NAME
// writes an icon theme folder: THEME_DIR/16x16/apps/NAME.png ... THEME_DIR/256x256/apps/NAME.png
// and THEME_DIR/scalable/apps/NAME.svg.
//   QT_QPA_PLATFORM=offscreen ./icon_export --ico FILE.ico
// writes the Windows program icon: one .ico holding the sizes Explorer, the taskbar and the
// title bar ask for, each drawn at its own size.

#include "app/Icons.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kIcoSizes[] = {16, 24, 32, 48, 64, 256};

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

int writeTheme(const QString& themeDir, const QString& name)
{
    const QDir theme(themeDir);
    for (const int size : app::kIconSizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!theme.mkpath(folder) || !app::windowIconPixmap(size).save(theme.filePath(folder + u'/' + name + QLatin1String(".png")), "PNG"))
            return 1;
    }
    const QString scalable = QStringLiteral("scalable/apps");
    if (!theme.mkpath(scalable) || !writeSvg(theme.filePath(scalable + u'/' + name + QLatin1String(".svg"))))
        return 1;
    return 0;
}

void put16(QByteArray& out, std::uint16_t value)
{
    out.append(char(value & 0xFF)).append(char(value >> 8));
}

void put32(QByteArray& out, std::uint32_t value)
{
    put16(out, std::uint16_t(value & 0xFFFF));
    put16(out, std::uint16_t(value >> 16));
}

// One image of an .ico in the form every Windows version reads: a 32-bit bottom-up DIB
// (straight alpha) followed by the 1-bit mask, which marks the fully transparent pixels for
// whoever ignores the alpha channel.
QByteArray dibImage(const QImage& argb)
{
    const int size = argb.width();
    const int maskStride = (size + 31) / 32 * 4;
    QByteArray out;
    put32(out, 40);                  // BITMAPINFOHEADER
    put32(out, std::uint32_t(size));
    put32(out, std::uint32_t(size * 2)); // colour rows and mask rows
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);                   // BI_RGB
    put32(out, std::uint32_t(size * size * 4 + maskStride * size));
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < size; ++x)
            out.append(char(qBlue(row[x]))).append(char(qGreen(row[x]))).append(char(qRed(row[x]))).append(char(qAlpha(row[x])));
    }
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        QByteArray mask(maskStride, '\0');
        for (int x = 0; x < size; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(mask);
    }
    return out;
}

// The 256-pixel image is stored as PNG, as Windows expects it from Vista on; a DIB of that
// size would be 256 KiB of mostly transparent pixels.
QByteArray pngImage(const QImage& argb)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    argb.save(&buffer, "PNG");
    return out;
}

int writeIco(const QString& path)
{
    std::vector<QByteArray> images;
    for (const int size : kIcoSizes) {
        const QImage argb = app::windowIconPixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        images.push_back(size >= 256 ? pngImage(argb) : dibImage(argb));
        if (images.back().isEmpty())
            return 1;
    }
    QByteArray out;
    put16(out, 0);                   // ICONDIR
    put16(out, 1);                   // an icon, not a cursor
    put16(out, std::uint16_t(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = kIcoSizes[i];
        out.append(char(size >= 256 ? 0 : size)).append(char(size >= 256 ? 0 : size)); // 0 stands for 256
        out.append(char(0)).append(char(0));  // no palette
        put16(out, 1);               // planes
        put16(out, 32);              // bits per pixel
        put32(out, std::uint32_t(images[i].size()));
        put32(out, offset);
        offset += std::uint32_t(images[i].size());
    }
    for (const QByteArray& image : images)
        out.append(image);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.flush() ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--ico") == 0)
        return writeIco(QString::fromLocal8Bit(argv[2]));
    if (argc == 3)
        return writeTheme(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    std::fprintf(stderr, "usage: %s THEME_DIR NAME\n       %s --ico FILE.ico\n", argv[0], argv[0]);
    return 2;
}
