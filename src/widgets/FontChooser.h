#pragma once

// The font dialog: Qt's font choice (face, style, size, underline, strike-out) with a
// colour choice beside it, which QFontDialog lacks. Preset from a font and a colour; the
// face shown is the installed font the preset resolves to, and a font given in pixels is
// shown at its size in points.

#include "widgets/Dialogs.h"

#include <QColor>
#include <QDialog>

class QFontDialog;
class QPushButton;

namespace widgets {

class FontChooser final : public QDialog {
    Q_OBJECT

public:
    FontChooser(const QFont& font, const QColor& color, QWidget* parent = nullptr);

    ChosenFont chosen() const;
    QColor color() const { return m_color; }
    void setColor(const QColor& color);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseColor();

    QFontDialog* m_fonts;
    QPushButton* m_colorButton;
    QColor m_color;
};

} // namespace widgets
