// The mon file browser: the drive, directory and file lists linked together, and a pick
// in the file list listing that file in the genre table.

#include "app/MonFile.h"
#include "app/TForm1.h"
#include "app/TableLayout.h"
#include "app/WindowTexts.h"
#include "platform/PathRules.h"
#include "widgets/DirectoryList.h"
#include "widgets/DriveList.h"
#include "widgets/FileList.h"
#include "widgets/MemoPad.h"
#include "widgets/grid/StringGrid.h"

namespace app {

void TForm1::DriveComboBox1Change()
{
    // Raises the directory list's change, which runs DirectoryListBox1Change.
    DirectoryListBox1->setDrive(DriveComboBox1->drivePath());
}

void TForm1::DirectoryListBox1Change()
{
    FileListBox1->setDirectory(DirectoryListBox1->directoryPath());
}

void TForm1::FileListBox1Click()
{
    const int selected = FileListBox1->ItemIndex();
    const std::string path = FileListBox1->Directory() + platform::kPathSeparator
                             + (selected >= 0 ? FileListBox1->Item(selected) : std::string());
    // A file the editor refuses to load is refused before anything changes.
    const std::optional<std::string> text = readMonFile(path);

    if (genreTableFull())
        resetGenreTable();
    const int n = ++m_state.MonFileCount;
    markGenreTable(texts::kMonMarker);
    SaveDialog1.filterIndex = 1;

    StringGrid1->setCells(MonFileColumn::Path, n, path);
    if (!text)
        throwCannotOpen(path);
    RichEdit1->LoadText(*text);
    default_save_name(path);
    listHeaderLines(n);
}

} // namespace app
