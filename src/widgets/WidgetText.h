#pragma once

// Conversions the controls share where a Shift-JIS byte string crosses into a widget.

#include <QString>

#include <string>
#include <string_view>

namespace widgets {

// The text decoded, with every line break (CR LF, a lone CR, a lone LF) as one '\n', the
// form in which Qt's text documents take a break.
QString textWithLineBreaks(std::string_view bytes);

// A file-system path as a byte string. A character Shift-JIS cannot hold (a name made
// outside Windows conventions) becomes '?', so such a path names no file and opening it
// fails with the path shown, instead of silently opening a different one.
std::string pathBytes(const QString& path);

// True when pathBytes(path) holds the path exactly, so that the bytes name this file and
// no other.
bool pathRepresentable(const QString& path);

} // namespace widgets
