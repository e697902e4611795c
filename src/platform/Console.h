#pragma once

// Text for the person at the terminal: the programs' help, version and messages.
//
// A Windows console shows narrow text in its own code page (932 on a Japanese Windows), so
// UTF-8 written there as bytes comes out garbled; there the text goes to the console as
// UTF-16. Written to a file or a pipe, and on Unix, it stays UTF-8.

#include <cstdio>
#include <string_view>

namespace platform {

// Writes UTF-8 text to stdout or stderr.
void writeText(std::FILE* stream, std::string_view utf8);

// A desktop program has no console of its own on Windows: this attaches it to the console of
// the program that started it (cmd.exe, PowerShell), so that its help reaches the window it
// was typed in. Output sent to a file or a pipe stays there. Unix has nothing to do.
void useStartingConsole();

} // namespace platform
