#pragma once

// The per-user folder for what the editor keeps between runs of its own (the work of a window
// that did not end normally): $XDG_STATE_HOME/zelqua-editor (~/.local/state/zelqua-editor by
// default) on Linux, %LOCALAPPDATA%\zelqua-editor on Windows.

#include <QString>

namespace platform {

QString stateFolder();
// Makes `path` and the folders above it; a folder made or found is readable by its user
// alone where the system has modes. False when it cannot be made.
[[nodiscard]] bool makePrivateFolder(const QString& path);
// Makes a file readable and writable by its user alone, where the system has modes.
void makePrivateFile(const QString& path);

} // namespace platform
