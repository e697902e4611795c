#pragma once

// Key codes as the editor's key-down handlers see them: the Windows virtual-key codes
// ("0".."9" are 48..57, "A".."Z" are 65..90), so a handler can test and replace a code the
// way the window's key filters are written.

#include <Qt>

#include <optional>

class QKeyEvent;

namespace widgets::vk {

inline constexpr int kNone = 0;
inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPrior = 0x21;
inline constexpr int kNext = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int kKey0 = 0x30;
inline constexpr int kKey1 = 0x31;
inline constexpr int kKey9 = 0x39;
inline constexpr int kKeyA = 0x41;
inline constexpr int kKeyZ = 0x5A;
inline constexpr int kNumpad0 = 0x60;
inline constexpr int kNumpad9 = 0x69;

// The virtual-key code of a pressed key, or kNone for a key without one. Symbol keys are
// reported by Qt as the character they produce; they map to the key that produces that
// character on a US layout, so Shift+1 ("!") is the key "1", as on Windows.
int fromKeyEvent(const QKeyEvent& event);

// The Qt key for a code whose key-down an edit acts on itself (Delete and the caret keys);
// none for every other code, whose effect comes from character input alone.
std::optional<Qt::Key> editingKey(int code);

} // namespace widgets::vk
