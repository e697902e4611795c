#include "support/WindowDriver.h"

#include "app/TForm1.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "widgets/Button.h"
#include "widgets/LineEdit.h"
#include "widgets/StringGrid.h"

#include <QTableView>
#include <QtTest>

namespace support {

QPoint cellCenter(const widgets::StringGrid& grid, int col, int row)
{
    return grid.view()->visualRect(grid.view()->model()->index(row - 1, col - 1)).center();
}

void clickCell(widgets::StringGrid& grid, int col, int row)
{
    QTest::mouseClick(grid.view()->viewport(), Qt::LeftButton, {}, cellCenter(grid, col, row));
}

void clickRow(widgets::StringGrid& grid, int row)
{
    clickCell(grid, grid.Row() == row && grid.Col() == 1 ? 2 : 1, row);
}

void retype(widgets::LineEdit& edit, const QString& text)
{
    edit.setFocus();
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, text);
}

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

} // namespace support
