#pragma once

// The help panel: a small multi-line text box, yellow on maroon, without scroll bars,
// wrapping its text. Its whole text is replaced at once; a write of the text already shown
// changes nothing and causes no repaint, as mouse moves write continuously. The user may
// type into it; nothing reads what they type.

#include <QPlainTextEdit>

#include <string>
#include <string_view>

namespace widgets {

class HelpMemo final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit HelpMemo(QWidget* parent = nullptr);

    // Line breaks in the text (CR LF, CR or LF) start new lines.
    void setText(std::string_view text);
    // The lines joined with CR LF; a character Shift-JIS cannot hold throws
    // UnencodableTextError.
    std::string Text() const;

signals:
    void doubleClicked();
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace widgets
