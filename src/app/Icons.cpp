#include "app/Icons.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace app {

namespace {

constexpr int kSize = kIconDesignSize;

// Images rather than pixmaps: a pixmap needs the application object and its thread.
QImage blank(int size = kSize)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

void paintWindowIcon(QPainter& painter)
{
    // A maroon card with a yellow "Z" and five small answer marks: five choices made one.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x40, 0x00, 0x00), 1));
    painter.setBrush(QColor(0x80, 0x00, 0x00));
    painter.drawRoundedRect(QRectF(0.5, 0.5, kSize - 1, kSize - 1), 5, 5);

    QPainterPath zed;
    zed.moveTo(7, 7);
    zed.lineTo(25, 7);
    zed.lineTo(9, 22);
    zed.lineTo(25, 22);
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0x00), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(zed);

    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        painter.setBrush(i == 0 ? QColor(0x00, 0xFF, 0x00) : QColor(0xFF, 0xFF, 0xFF, 0xA0));
        painter.drawEllipse(QRectF(5 + i * 5, 25.5, 3.5, 3.5));
    }
}

namespace {

QImage windowIconImage(int size)
{
    QImage image = blank(size);
    QPainter painter(&image);
    painter.scale(qreal(size) / kSize, qreal(size) / kSize);
    paintWindowIcon(painter);
    painter.end();
    return image;
}

// A yellow speech bubble with a maroon question mark, the colours of the help panel.
QImage helpIcon()
{
    QImage image = blank();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1.5, 1.5, 29, 22), 7, 7);
    QPainterPath tail;
    tail.moveTo(8, 22);
    tail.lineTo(6, 30.5);
    tail.lineTo(16, 22);
    tail.closeSubpath();
    painter.setPen(QPen(QColor(0x80, 0x00, 0x00), 1.5));
    painter.setBrush(QColor(0xFF, 0xFF, 0x00));
    painter.drawPath(bubble.united(tail));

    QFont font;
    font.setPixelSize(19);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x80, 0x00, 0x00));
    painter.drawText(QRectF(1.5, 1.5, 29, 22), Qt::AlignCenter, QStringLiteral("?"));
    painter.end();
    return image;
}

} // namespace

QPixmap windowIconPixmap(int size)
{
    return QPixmap::fromImage(windowIconImage(size));
}

const std::vector<QImage>& windowIconImages()
{
    static const std::vector<QImage> images = [] {
        std::vector<QImage> painted;
        for (const int size : kIconSizes)
            painted.push_back(windowIconImage(size));
        return painted;
    }();
    return images;
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const QImage& image : windowIconImages())
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

const QImage& helpIconImage()
{
    static const QImage image = helpIcon();
    return image;
}

QPixmap helpIconPixmap()
{
    return QPixmap::fromImage(helpIconImage());
}

} // namespace app
