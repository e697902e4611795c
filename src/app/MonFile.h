#pragma once

// Reading a mon file whole before it is loaded into the memo pad.

#include <optional>
#include <string>

namespace app {

// The file's bytes. A file the editor refuses to load (larger than a mon file can sensibly
// be, or with a line too long to lay out) throws text::EditorError at once, before the
// caller has changed anything. A file that cannot be read (missing, unreadable, or no
// regular file: a FIFO would block the window) gives nothing, and the caller raises
// "cannot open" at the step where loading belongs.
std::optional<std::string> readMonFile(const std::string& path);

// "ﾌｧｲﾙ %s は開けません" for `path`.
[[noreturn]] void throwCannotOpen(const std::string& path);

} // namespace app
