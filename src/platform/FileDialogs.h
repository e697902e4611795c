#pragma once

// Which file dialog the editor shows. On Windows it is the system's own common item dialog
// (IFileOpenDialog, IFileSaveDialog), shown here directly: Qt's helper for it gives the save
// dialog a default extension, and Windows then renames the file shown when the user switches
// the file type (name.mon becomes name.TXT) and adds one to a name typed without it. Elsewhere
// Qt's QFileDialog decides: the desktop's own dialog where its platform theme offers one
// (GNOME through the GTK or portal theme, KDE), Qt's widget dialog otherwise.

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QStringList filterNames;      // as shown: "Kuvetta形式(.5TQ)"
    QStringList filterPatterns;   // beside each name: "*.5TQ" (several joined with ";")
    int filterIndex = 1;          // 1-based, the filter selected at first
    QString folder;               // where the dialog opens
    QString fileName;             // the name proposed in it, without a folder
    bool multiSelect = false;     // Open: several files may be marked
    bool confirmOverwrite = true; // Save: asks before an existing file is replaced
};

struct FileDialogAnswer {
    QString path;         // the chosen file (the first one marked), with "/" separators
    int filterIndex = 1;  // the filter selected when the dialog closed, 1-based
};

// True where showFileDialog() shows the system's dialog; false where Qt's QFileDialog does.
extern const bool kOwnFileDialogs;

// Shows the system's dialog, modal over the window whose native handle is `owner`. Nothing
// when the user cancelled (or where kOwnFileDialogs is false).
std::optional<FileDialogAnswer> showFileDialog(const FileDialogRequest& request, quintptr owner);

} // namespace platform
