#pragma once

// Conversions the controls share where a Shift-JIS byte string crosses into a widget.

#include <QString>

#include <string>
#include <string_view>

namespace widgets {

// The text decoded, with every line break (CR LF, a lone CR, a lone LF) as one '\n', the
// form in which Qt's text documents take a break.
QString textWithLineBreaks(std::string_view bytes);

// A file-system path as a byte string, with the platform's separators. On Windows every
// character whose bytes would not read back as itself (one Shift-JIS cannot hold, or
// another Unicode form of one it can, as U+301C of U+FF5E) is written as "<U+XXXX>"
// (platform/PathCharacters.h), so the bytes name exactly this file. Elsewhere a character
// Shift-JIS cannot hold becomes '?', so such a path names no file and opening it fails
// with the path shown, instead of silently opening a different one.
std::string pathBytes(const QString& path);
// The path that bytes from pathBytes() (or typed by the user) name, for opening the file.
QString pathFromBytes(std::string_view bytes);

// True when pathBytes(path) holds the path exactly, so that the bytes name this file and
// no other.
bool pathRepresentable(const QString& path);

} // namespace widgets
