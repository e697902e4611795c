// The browse button: shows or hides the mon file browser; showing it empties the genre
// table for a fresh collection of files.

#include "app/TForm1.h"
#include "app/TableLayout.h"
#include "app/WindowTexts.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/DriveList.h"
#include "widgets/FileList.h"
#include "widgets/grid/StringGrid.h"

namespace app {

void TForm1::Button13Click()
{
    setQuestionCaptions();

    if (!DirectoryListBox1->isHidden()) {
        Button13->setCaption(texts::kBrowseCaption);
        DriveComboBox1->hide();
        DirectoryListBox1->hide();
        FileListBox1->hide();
        return;
    }
    Button13->setCaption(texts::kHideCaption);
    for (int row = kHeaderRow; row < kGenreTableRows; ++row)
        for (int col = 0; col < kGenreColumns; ++col)
            StringGrid1->setCells(col, row, "");
    m_state.MonFileCount = 0;
    DriveComboBox1->show();
    DirectoryListBox1->show();
    // Files written into the folder while the browser was hidden are listed.
    FileListBox1->reread();
    FileListBox1->show();
}

} // namespace app
