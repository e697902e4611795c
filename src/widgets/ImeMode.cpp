#include "widgets/ImeMode.h"

#include <QVariant>
#include <QWidget>

namespace widgets {

void applyImeMode(QWidget& widget, ImeMode mode)
{
    switch (mode) {
    case ImeMode::Hiragana:
        widget.setAttribute(Qt::WA_InputMethodEnabled, true);
        widget.setInputMethodHints(Qt::ImhNone);
        break;
    case ImeMode::HalfWidthAlpha:
        widget.setAttribute(Qt::WA_InputMethodEnabled, true);
        widget.setInputMethodHints(Qt::ImhPreferLatin);
        break;
    case ImeMode::Off:
        widget.setAttribute(Qt::WA_InputMethodEnabled, false);
        widget.setInputMethodHints(Qt::ImhNone);
        break;
    }
}

QVariant imeEnabledAnswer(ImeMode mode, const QVariant& widgetAnswer)
{
    return mode == ImeMode::Off ? QVariant(false) : widgetAnswer;
}

} // namespace widgets
