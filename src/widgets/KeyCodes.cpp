#include "widgets/KeyCodes.h"

#include <QKeyEvent>

namespace widgets::vk {
namespace {

int keypadCode(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return kNumpad0 + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Asterisk: return 0x6A;
    case Qt::Key_Plus: return 0x6B;
    case Qt::Key_Minus: return 0x6D;
    case Qt::Key_Period: return 0x6E;
    case Qt::Key_Slash: return 0x6F;
    default: return kNone;
    }
}

} // namespace

int fromKeyEvent(const QKeyEvent& event)
{
    const int key = event.key();
    if (event.modifiers().testFlag(Qt::KeypadModifier)) {
        if (const int code = keypadCode(key); code != kNone)
            return code;
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return key; // Qt's codes for these keys are their ASCII codes, as on Windows
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + (key - Qt::Key_F1);

    switch (key) {
    case Qt::Key_Backspace: return kBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return kTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kReturn;
    case Qt::Key_Shift: return kShift;
    case Qt::Key_Control: return kControl;
    case Qt::Key_Alt: return kMenu;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return kEscape;
    case Qt::Key_Space: return kSpace;
    case Qt::Key_PageUp: return kPrior;
    case Qt::Key_PageDown: return kNext;
    case Qt::Key_End: return kEnd;
    case Qt::Key_Home: return kHome;
    case Qt::Key_Left: return kLeft;
    case Qt::Key_Up: return kUp;
    case Qt::Key_Right: return kRight;
    case Qt::Key_Down: return kDown;
    case Qt::Key_Insert: return kInsert;
    case Qt::Key_Delete: return kDelete;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    // The shifted digits of a US layout.
    case Qt::Key_ParenRight: return kKey0;
    case Qt::Key_Exclam: return kKey0 + 1;
    case Qt::Key_At: return kKey0 + 2;
    case Qt::Key_NumberSign: return kKey0 + 3;
    case Qt::Key_Dollar: return kKey0 + 4;
    case Qt::Key_Percent: return kKey0 + 5;
    case Qt::Key_AsciiCircum: return kKey0 + 6;
    case Qt::Key_Ampersand: return kKey0 + 7;
    case Qt::Key_Asterisk: return kKey0 + 8;
    case Qt::Key_ParenLeft: return kKey0 + 9;
    // The symbol keys (VK_OEM_*), plain and shifted.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 0xBA;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 0xBC;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 0xBD;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 0xBE;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 0xBF;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 0xC0;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 0xDB;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 0xDC;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 0xDD;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 0xDE;
    default: return kNone;
    }
}

std::optional<Qt::Key> editingKey(int code)
{
    switch (code) {
    case kDelete: return Qt::Key_Delete;
    case kHome: return Qt::Key_Home;
    case kEnd: return Qt::Key_End;
    case kLeft: return Qt::Key_Left;
    case kRight: return Qt::Key_Right;
    case kUp: return Qt::Key_Up;
    case kDown: return Qt::Key_Down;
    default: return std::nullopt;
    }
}

} // namespace widgets::vk
