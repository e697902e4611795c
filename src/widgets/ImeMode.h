#pragma once

// The input-method mode a text control starts in.

class QVariant;
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

// Sets the widget's input-method attribute and hints. The input-method plugins (fcitx5,
// ibus) ask the focused widget inputMethodQuery(Qt::ImEnabled) rather than reading the
// attribute, so a control whose mode can be Off must also answer that query through
// imeEnabledAnswer().
void applyImeMode(QWidget& widget, ImeMode mode);

// The answer to Qt::ImEnabled for a control in `mode`: false when its input method is off,
// otherwise what the Qt widget itself answers.
QVariant imeEnabledAnswer(ImeMode mode, const QVariant& widgetAnswer);

} // namespace widgets
