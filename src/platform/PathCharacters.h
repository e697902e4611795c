#pragma once

// How a path's characters that code page 932 cannot hold are kept in the editor's byte
// strings. On Windows a path is Unicode, and the user may pick any file: such a character is
// written as "<U+XXXX>" (its code point), text no Windows file name can hold since "<" and
// ">" are reserved, so the bytes still name the file and show where the character stands.
// Elsewhere it becomes "?", and the path names no file (the file dialogs refuse it).

#include <QString>

namespace platform {

// Whether every path the user picks can be kept as bytes.
extern const bool kPathsKeepEveryCharacter;

// The text that stands for `c` in a path.
QString pathTextFor(char32_t c);
// The path with every such stand-in turned back into its character.
QString restorePathCharacters(const QString& path);

} // namespace platform
