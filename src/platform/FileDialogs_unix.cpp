#include "platform/FileDialogs.h"

namespace platform {

// Qt reaches the desktop's own dialog through the platform theme where there is one.
const bool kOwnFileDialogs = false;

std::optional<FileDialogAnswer> showFileDialog(const FileDialogRequest&, quintptr)
{
    return std::nullopt;
}

} // namespace platform
