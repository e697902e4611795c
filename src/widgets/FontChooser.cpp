#include "widgets/FontChooser.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace widgets {
namespace {

QFont presetFont(const QFont& font)
{
    const QFontInfo resolved(font);
    QFont preset(font);
    preset.setFamilies(QStringList{resolved.family()});
    preset.setPointSizeF(resolved.pointSizeF());
    return preset;
}

} // namespace

FontChooser::FontChooser(const QFont& font, const QColor& color, QWidget* parent)
    : QDialog(parent)
    , m_fonts(new QFontDialog(this))
    , m_colorButton(new QPushButton(QStringLiteral("色(&C)..."), this))
{
    setWindowTitle(QStringLiteral("フォント"));

    // The font dialog embedded as a plain child widget, without buttons of its own.
    m_fonts->setWindowFlags(Qt::Widget);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setCurrentFont(presetFont(font));
    m_fonts->installEventFilter(this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_colorButton, &QPushButton::clicked, this, &FontChooser::chooseColor);

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(QStringLiteral("色:"), this));
    colourRow->addWidget(m_colorButton);
    colourRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);

    setColor(color);
}

ChosenFont FontChooser::chosen() const
{
    const QFont font = m_fonts->currentFont();
    ChosenFont choice;
    choice.family = font.family();
    choice.color = m_color;
    choice.bold = font.bold();
    choice.italic = font.italic();
    choice.underline = font.underline();
    choice.strikeOut = font.strikeOut();
    choice.pointSize = font.pointSizeF();
    return choice;
}

void FontChooser::setColor(const QColor& color)
{
    m_color = color;
    QPixmap swatch(16, 16);
    swatch.fill(color);
    m_colorButton->setIcon(QIcon(swatch));
}

void FontChooser::chooseColor()
{
    const QColor picked = QColorDialog::getColor(m_color, this, QStringLiteral("色"));
    if (picked.isValid())
        setColor(picked);
}

bool FontChooser::eventFilter(QObject* watched, QEvent* event)
{
    // The embedded dialog would close itself on Escape and swallow Enter; both belong to
    // this dialog.
    if (watched == m_fonts && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace widgets
