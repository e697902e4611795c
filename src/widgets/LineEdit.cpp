#include "widgets/LineEdit.h"

#include "widgets/KeyCodes.h"
#include "codec/ShiftJis.h"
#include "widgets/UnencodableTextError.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <limits>

namespace widgets {
namespace {

bool isControlCharacter(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// The text in Shift-JIS with every character it cannot hold as "?".
std::string withQuestionMarks(QStringView text)
{
    std::string bytes;
    for (;;) {
        sjis::EncodeResult encoded = sjis::fromUnicode(text);
        bytes += encoded.bytes;
        if (encoded.ok())
            return bytes;
        bytes += '?';
        text = text.mid(encoded.badIndex + (encoded.badChar > 0xFFFF ? 2 : 1));
    }
}

} // namespace

LineEdit::LineEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setMouseTracking(true);
    // Qt cuts text beyond 32,767 characters, also text set by a program; a field must
    // hold whatever it is given.
    setMaxLength(std::numeric_limits<int>::max());
    // QLineEdit emits textChanged for typing and for setText alike, and only when the
    // text really changed; the connection is direct, so it runs inside setText.
    connect(this, &QLineEdit::textChanged, this, &LineEdit::changed);
}

std::string LineEdit::Text() const
{
    sjis::EncodeResult encoded = sjis::fromUnicode(text());
    if (!encoded.ok() && m_unencodable == Unencodable::ReadAsQuestionMark)
        return withQuestionMarks(text());
    if (!encoded.ok())
        throw UnencodableTextError(encoded.badChar, 0);
    return std::move(encoded.bytes);
}

void LineEdit::setText(std::string_view text)
{
    const QString shown = sjis::toUnicode(text);
    if (shown == QLineEdit::text())
        return;
    QLineEdit::setText(shown);
}

void LineEdit::setImeMode(ImeMode mode)
{
    m_imeMode = mode;
    applyImeMode(*this, mode);
}

QVariant LineEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    return inputMethodQuery(query, QVariant());
}

QVariant LineEdit::inputMethodQuery(Qt::InputMethodQuery query, QVariant argument) const
{
    const QVariant answer = QLineEdit::inputMethodQuery(query, argument);
    return query == Qt::ImEnabled ? imeEnabledAnswer(m_imeMode, answer) : answer;
}

QColor LineEdit::Color() const
{
    return palette().color(QPalette::Active, QPalette::Base);
}

void LineEdit::setColor(const QColor& color)
{
    const bool change = color != Color();
    QPalette shown = palette();
    shown.setColor(QPalette::Base, color);
    setPalette(shown);
    m_enabledPalette.setColor(QPalette::Base, color);
    if (change)
        emit colorChanged();
}

void LineEdit::setEditState(EditState state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (state == EditState::Disabled) {
        m_enabledFocusPolicy = focusPolicy();
        m_enabledPalette = palette();
        clearFocus();
        setFocusPolicy(Qt::NoFocus);
        setReadOnly(true);
        setAcceptDrops(false);
        setContextMenuPolicy(Qt::NoContextMenu);
        setCursor(Qt::ForbiddenCursor);
        QPalette greyed = palette();
        const QColor greyText = greyed.color(QPalette::Disabled, QPalette::Text);
        greyed.setColor(QPalette::Active, QPalette::Text, greyText);
        greyed.setColor(QPalette::Inactive, QPalette::Text, greyText);
        setPalette(greyed);
        deselect();
        return;
    }
    setFocusPolicy(m_enabledFocusPolicy);
    setReadOnly(false);
    setAcceptDrops(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    unsetCursor();
    setPalette(m_enabledPalette);
}

void LineEdit::setBorder(Border border)
{
    setFrame(border == Border::Sunken);
}

void LineEdit::keyPressEvent(QKeyEvent* event)
{
    if (m_state == EditState::Disabled)
        return;
    const int pressed = vk::fromKeyEvent(*event);
    int key = pressed;
    emit keyDown(&key, event->modifiers());
    if (key == pressed) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    // The edit's key-down processing, on the replaced code.
    if (const auto editing = vk::editingKey(key)) {
        QKeyEvent replaced(QEvent::KeyPress, *editing, event->modifiers());
        QLineEdit::keyPressEvent(&replaced);
    }
    // The keystroke's character input, from the key as pressed.
    applyCharacterInput(*event);
    event->accept();
}

void LineEdit::applyCharacterInput(QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_Backspace) {
        backspace();
        return;
    }
    if (modifiers == Qt::ControlModifier) {
        switch (event.key()) {
        case Qt::Key_C: copy(); return;
        case Qt::Key_V: paste(); return;
        case Qt::Key_X: cut(); return;
        case Qt::Key_A: selectAll(); return;
        case Qt::Key_Z: undo(); return;
        default: return;
        }
    }
    // AltGr arrives as Ctrl+Alt; any other Ctrl or Alt chord types nothing.
    const bool chord = modifiers.testFlag(Qt::ControlModifier) != modifiers.testFlag(Qt::AltModifier);
    const QString typed = event.text();
    if (chord || typed.isEmpty() || isControlCharacter(typed.front()))
        return;
    insert(typed);
}

void LineEdit::mousePressEvent(QMouseEvent* event)
{
    if (m_state == EditState::Disabled)
        return;
    QLineEdit::mousePressEvent(event);
}

void LineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_state == EditState::Disabled)
        return;
    QLineEdit::mouseReleaseEvent(event);
}

void LineEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_state == EditState::Disabled)
        return;
    QLineEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void LineEdit::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->modifiers(), qRound(event->position().x()), qRound(event->position().y()));
    if (m_state == EditState::Enabled)
        QLineEdit::mouseMoveEvent(event);
    event->accept();
}

} // namespace widgets
