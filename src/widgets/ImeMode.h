#pragma once

// The input-method mode a text control starts in.

class QWidget;

namespace widgets {

enum class ImeMode {
    // Japanese input on. Qt cannot ask an input method for a conversion mode, so the input
    // method is enabled and starts in its own default, which for a Japanese one is kana.
    Hiragana,
    // Input method enabled, with Latin input preferred (half-width letters and digits).
    HalfWidthAlpha,
    // No input method: keystrokes arrive as plain characters.
    Off,
};

void applyImeMode(QWidget& widget, ImeMode mode);

} // namespace widgets
