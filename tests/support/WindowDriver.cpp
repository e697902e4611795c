#include "support/WindowDriver.h"

#include "app/TForm1.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/DriveList.h"
#include "widgets/FileList.h"
#include "widgets/grid/StringGrid.h"

#include <QtTest>

namespace support {

void readFile(app::TForm1& form, ScriptedPrompts& prompts, const QString& path, int filterIndex)
{
    prompts.acceptOpen(TestFolder::bytesOf(path), filterIndex);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
}

void loadMonFile(app::TForm1& form, ScriptedPrompts& prompts, const QString& path)
{
    readFile(form, prompts, path, 2);
    clickRow(*form.StringGrid1, form.state().MonFileCount);
}

bool browserVisible(const app::TForm1& form)
{
    return form.DirectoryListBox1->isVisible() && form.FileListBox1->isVisible() && form.DriveComboBox1->isVisible();
}

} // namespace support
