#pragma once

// A text holds a character that Shift-JIS cannot hold, so it cannot become the editor's
// bytes (a memo pad line to be saved, a field's text). Thrown instead of replacing the
// character; the window may catch it to show a warning of its own, and otherwise the error
// box shows the message, which names the character by its code point (it cannot be shown
// in Shift-JIS itself).

#include "text/EditorError.h"

namespace widgets {

class UnencodableTextError final : public text::EditorError {
public:
    // `line` counts from 1; 0 when the text is not one of a list of lines.
    UnencodableTextError(char32_t character, int line);

    char32_t character() const noexcept { return m_character; }
    int line() const noexcept { return m_line; }

private:
    char32_t m_character;
    int m_line;
};

} // namespace widgets
