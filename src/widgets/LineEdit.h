#pragma once

// Single-line edit with a Shift-JIS text.
//
// - changed() follows every change of the text, typed or written by code. A write through
//   setText() raises it before setText() returns, so a handler sees the new text while the
//   writer is still inside its write; writing the text already shown raises nothing.
// - keyDown() comes before the edit acts on a key press, with the key's virtual-key code
//   (widgets::vk). A handler may replace the code. The edit's own key-down processing
//   (Delete and the caret keys) then acts on the replaced code, so a digit code does
//   nothing there; the keystroke's character input (typed characters, Backspace, the
//   Ctrl+C/V/X/A/Z editing keys) still comes from the key as pressed.
// - The disabled state keeps the widget enabled for Qt (Qt clears the cursor of a disabled
//   widget, and the count field shows the forbidden pointer) but takes no focus, no
//   keystrokes and no mouse input, and greys the text.

#include "widgets/ImeMode.h"

#include <QColor>
#include <QLineEdit>

#include <string>
#include <string_view>

namespace widgets {

enum class EditState { Enabled, Disabled };
enum class Border { Sunken, Flat };
// What Text() does with a character Shift-JIS cannot hold: throw, or read it as "?" the way
// a Shift-JIS program sees it (for fields that are only read as numbers, where the "?"
// makes the text no number and the conversion error shows the text).
enum class Unencodable { Refuse, ReadAsQuestionMark };

class LineEdit final : public QLineEdit {
    Q_OBJECT

public:
    explicit LineEdit(QWidget* parent = nullptr);

    // Throws UnencodableTextError when the text holds a character Shift-JIS cannot hold,
    // unless the field reads such characters as "?" (setUnencodable).
    std::string Text() const;
    void setText(std::string_view text);

    QColor Color() const;
    void setColor(const QColor& color);

    void setEditState(EditState state);
    EditState editState() const { return m_state; }

    void setBorder(Border border);
    void setUnencodable(Unencodable rule) { m_unencodable = rule; }
    void setImeMode(ImeMode mode);

    // Answer Qt::ImEnabled false while the input method is off (see ImeMode.h). The second
    // form hides QLineEdit's invokable one, which QInputMethod::queryFocusObject() calls
    // by name, past the attribute and the virtual form.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    Q_INVOKABLE QVariant inputMethodQuery(Qt::InputMethodQuery query, QVariant argument) const;

signals:
    void changed();
    // After setColor() changed the background colour.
    void colorChanged();
    void keyDown(int* key, Qt::KeyboardModifiers modifiers);
    void doubleClicked();
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void applyCharacterInput(QKeyEvent& event);

    EditState m_state = EditState::Enabled;
    ImeMode m_imeMode = ImeMode::Hiragana;
    Unencodable m_unencodable = Unencodable::Refuse;
    Qt::FocusPolicy m_enabledFocusPolicy = Qt::StrongFocus;
    QPalette m_enabledPalette;
};

} // namespace widgets
