// Every caption of the window legible on the screens the editor meets: 96 pixels per inch
// (the usual Linux default), 120 (Qt's scale 1.25) and a scale factor of 2; CTest runs this
// program once for each (tests/CMakeLists.txt). Legible means: no text smaller than 9 points
// (12 pixels at 96 pixels per inch, 15 at 120: the size of Japanese system text, below
// which kanji strokes run together), every caption whole inside its control, and no
// caption covered by another control. The help panel is the one exception to the size: its
// fixed box without scroll bars must show each guidance text whole, at 13 pixels at 120.

#include "app/TForm1.h"
#include "support/ScriptedPrompts.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QStyle>
#include <QtTest>

namespace {

// The smallest legible text in the window's pixels: 15 pixels at 120 pixels per inch, scaled.
int legibleMinimum(const app::TForm1& form)
{
    return qRound(15 * form.scale());
}

// Where a caption's text lies in the window: labels draw it from their left edge, centred
// vertically; buttons centre it.
QRectF textRect(const QWidget& control, const QString& text)
{
    const QFontMetricsF metrics(control.font());
    const qreal width = metrics.horizontalAdvance(text);
    // Vertically the text takes its em square, centred in the control.
    const QRectF box = control.geometry();
    const qreal em = QFontInfo(control.font()).pixelSize();
    const qreal top = box.center().y() - em / 2;
    if (qobject_cast<const QLabel*>(&control))
        return QRectF(box.left(), top, width, em);
    return QRectF(box.center().x() - width / 2, top, width, em);
}

QString captionOf(const QWidget& control)
{
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text();
    return {};
}

} // namespace

class LegibilityTest final : public QObject {
    Q_OBJECT

private slots:
    void captions()
    {
        support::ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        qInfo("scale %.2f, device pixel ratio %.2f, minimum %d px", form.scale(), form.devicePixelRatioF(),
              legibleMinimum(form));

        QStringList faults;
        const QList<QWidget*> controls = form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const QWidget& control = *controls[i];
            const QString text = captionOf(control);
            const QString name = control.objectName();
            const int size = QFontInfo(control.font()).pixelSize();
            const int minimum = name == u"Memo2" ? qRound(13 * form.scale()) : legibleMinimum(form);
            if (size < minimum)
                faults << QStringLiteral("%1: %2 px").arg(name).arg(size);
            if (text.isEmpty() || control.isHidden())
                continue;

            const QRectF shown = textRect(control, text);
            QRectF room = control.geometry();
            if (qobject_cast<const QAbstractButton*>(&control)) {
                const int frame = control.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &control);
                room.adjust(frame, 0, -frame, 0);
            }
            if (shown.left() < room.left() - 0.5 || shown.right() > room.right() + 0.5)
                faults << QStringLiteral("%1: text %2 wide in %3").arg(name).arg(shown.width()).arg(room.width());

            // Controls made later lie on top; any visible control may hide a label's text.
            for (qsizetype j = 0; j < controls.size(); ++j) {
                const QWidget& other = *controls[j];
                if (j == i || other.isHidden() || (j < i && !qobject_cast<const QLabel*>(&control)))
                    continue;
                if (j < i && qobject_cast<const QLabel*>(&other))
                    continue;
                // A masked control (the focus ring, a hollow band) covers its mask alone.
                const QRegion covering = other.mask().isEmpty() ? QRegion(other.geometry())
                                                                : other.mask().translated(other.pos());
                for (const QRect& part : covering) {
                    const QRectF overlap = shown.intersected(QRectF(part));
                    if (overlap.width() > 1 && overlap.height() > 1)
                        faults << QStringLiteral("%1 covered by %2 (%3 x %4)").arg(name, other.objectName()).arg(overlap.width()).arg(overlap.height());
                }
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(LegibilityTest)
#include "LegibilityTest.moc"
