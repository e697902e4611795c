#include "widgets/HelpMemo.h"

#include "codec/ShiftJis.h"
#include "widgets/UnencodableTextError.h"
#include "widgets/WidgetText.h"

#include <QMouseEvent>
#include <QTextDocument>

namespace widgets {

HelpMemo::HelpMemo(QWidget* parent)
    : QPlainTextEdit(parent)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor(0x80, 0x00, 0x00));
    colours.setColor(QPalette::Text, QColor(0xFF, 0xFF, 0x00));
    setPalette(colours);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Japanese text has no blanks to break at.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    viewport()->setMouseTracking(true);
    // Nothing in the panel needs a tab character: Tab moves on to the next control.
    setTabChangesFocus(true);
}

void HelpMemo::setText(std::string_view text)
{
    const QString shown = textWithLineBreaks(text);
    // toRawText() separates blocks by U+2029 and keeps every other character as stored.
    QString current = document()->toRawText();
    current.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    if (shown == current)
        return;
    setPlainText(shown);
}

std::string HelpMemo::Text() const
{
    QString current = document()->toRawText();
    current.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    sjis::EncodeResult encoded = sjis::fromUnicode(current);
    if (!encoded.ok())
        throw UnencodableTextError(encoded.badChar, 0);
    return std::move(encoded.bytes);
}

void HelpMemo::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void HelpMemo::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->modifiers(), qRound(event->position().x()), qRound(event->position().y()));
    QPlainTextEdit::mouseMoveEvent(event);
    event->accept();
}

} // namespace widgets
