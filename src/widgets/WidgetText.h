#pragma once

// Conversions the controls share where a Shift-JIS byte string crosses into a widget.

#include <QString>

#include <string>
#include <string_view>

namespace widgets {

// The text decoded, with every line break (CR LF, a lone CR, a lone LF) as one '\n', the
// form in which Qt's text documents take a break.
QString textWithLineBreaks(std::string_view bytes);

// A character Shift-JIS cannot hold, carried inside a message made of Shift-JIS bytes:
// the message and error boxes show the character itself where these bytes stand (an
// escape, 0x1B, then "U" and the code point in hexadecimal, then 0x1B: no message text
// holds the escape byte otherwise).
std::string characterInMessage(char32_t character);
// A character's code point as a message names it: "U+" and at least four hex digits.
std::string codePointName(char32_t character);
// A message's bytes as the boxes show them.
QString messageText(std::string_view bytes);

// A file-system path as a byte string, with the platform's separators. On Windows every
// character whose bytes would not read back as itself (one Shift-JIS cannot hold, or
// another Unicode form of one it can, as U+301C of U+FF5E) is written as "<U+XXXX>"
// (platform/PathCharacters.h), so the bytes name exactly this file. Elsewhere a character
// Shift-JIS cannot hold becomes '?', so such a path names no file and opening it fails
// with the path shown, instead of silently opening a different one; a character that
// Shift-JIS holds only as another one (U+301C WAVE DASH, stored as the bytes of U+FF5E)
// keeps those bytes, and pathFromBytes() finds the name again.
std::string pathBytes(const QString& path);
// The path that bytes from pathBytes() (or typed by the user) name, for opening the file:
// the path the user last chose with these bytes (rememberChosenPath), else the bytes
// decoded; where that names nothing, the existing path whose bytes they are, when exactly
// one has them.
QString pathFromBytes(std::string_view bytes);
// A path the user chose (in a file dialog, by a drop): its bytes name it from now on, even
// when they would decode to another name (a new file's name with U+301C). A path with a
// character Shift-JIS cannot hold at all is not kept.
void rememberChosenPath(const QString& path);

// True when pathFromBytes(pathBytes(path)) is the path, so that the bytes name this file
// and no other.
bool pathRepresentable(const QString& path);

} // namespace widgets
