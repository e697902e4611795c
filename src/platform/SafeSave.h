#pragma once

// Saving a whole file so that the old one is never lost or changed by a failed save.
//
// The file is replaced atomically (a complete, flushed temporary file renamed over it)
// when the new file keeps the old one's identity: a single name, a folder the user may
// write, and an owner, group, mode and extended attributes that can be given back.
// Otherwise (hard links, a folder the user may not write, an owner or group the user
// cannot give) the file is written in place, after its old content has been kept in
// memory and, where the folder allows, in a backup file beside it; any failure writes
// the old content back. Symbolic links are followed and keep pointing where they did.
// Anything that is not a regular file (folder, FIFO, device, socket) is refused without
// being opened for writing. Every write, flush and sync is checked before the old file
// is given up. A new file never takes the place of a file another program made under its
// name meanwhile. What a killed save left beside a file (a temporary file, a backup no
// longer needed) is recognised as the editor's own and removed by the next save into
// that folder.
//
// Not QSaveFile: Qt 6.4's commit() puts a file cut short by a full disk in the old one's
// place and returns true (SafeSaveTest shows it). A flush() checked before commit() would
// catch that, but the rename of QSaveFile's temporary file still loses the owner, group,
// ACLs and extended attributes and breaks hard links, replaces a file another program
// made meanwhile, and cannot write in place with a backup where a rename would lose the
// file's identity.

#include <QString>

#include <string_view>
#include <system_error>

namespace platform {

// Makes `bytes` the whole content of the file at `path`. Returns no error when the file
// holds `bytes`, on disk; otherwise the error of the step that failed, with the old file
// (or its absence) exactly as it was.
[[nodiscard]] std::error_code saveFile(const QString& path, std::string_view bytes);

} // namespace platform
