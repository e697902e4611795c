#pragma once

// Conversions the controls share where a Shift-JIS byte string crosses into a widget.

#include <QString>

#include <string>
#include <string_view>

namespace widgets {

// The text decoded, with every line break (CR LF, a lone CR, a lone LF) as one '\n', the
// form in which Qt's text documents take a break.
QString textWithLineBreaks(std::string_view bytes);

// A file-system path as a byte string, with the platform's separators. A character
// Shift-JIS cannot hold is written as the platform keeps it (platform/PathCharacters.h):
// on Windows as "<U+XXXX>", so the bytes still name the file; elsewhere as '?', so such a
// path names no file and opening it fails with the path shown, instead of silently
// opening a different one.
std::string pathBytes(const QString& path);
// The path that bytes from pathBytes() (or typed by the user) name, for opening the file.
QString pathFromBytes(std::string_view bytes);

} // namespace widgets
