// The help panel: guidance texts shown as the mouse moves over the controls, the window's
// bare surface emptying it, and hiding and restoring the panel.

#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/Dispatch.h"
#include "widgets/FileList.h"
#include "widgets/HelpMemo.h"
#include "widgets/Label.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/Picture.h"

namespace app {

void TForm1::connectHelpTexts()
{
    connect(Button1, &widgets::Button::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Button1MouseMove(s, x, y); }));
    connect(Button2, &widgets::Button::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Button2MouseMove(s, x, y); }));
    connect(Button4, &widgets::Button::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Button4MouseMove(s, x, y); }));
    connect(Button5, &widgets::Button::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Button5MouseMove(s, x, y); }));
    connect(Button6, &widgets::Button::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Button6MouseMove(s, x, y); }));
    connect(Button7, &widgets::Button::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Button7MouseMove(s, x, y); }));
    connect(Button8, &widgets::Button::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Button8MouseMove(s, x, y); }));
    connect(Button11, &widgets::Button::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Button11MouseMove(s, x, y); }));
    connect(Button12, &widgets::Button::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Button12MouseMove(s, x, y); }));
    connect(Button13, &widgets::Button::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Button13MouseMove(s, x, y); }));
    connect(Edit3, &widgets::LineEdit::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Edit3MouseMove(s, x, y); }));
    connect(Edit4, &widgets::LineEdit::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Edit4MouseMove(s, x, y); }));
    connect(Edit5, &widgets::LineEdit::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Edit4MouseMove(s, x, y); }));
    connect(Edit6, &widgets::LineEdit::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Edit6MouseMove(s, x, y); }));
    connect(Edit8, &widgets::LineEdit::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Edit8MouseMove(s, x, y); }));
    connect(Label1, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label1MouseMove(s, x, y); }));
    connect(Label2, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label2MouseMove(s, x, y); }));
    connect(Label3, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label3MouseMove(s, x, y); }));
    connect(Label4, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label4MouseMove(s, x, y); }));
    connect(Label5, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label5MouseMove(s, x, y); }));
    connect(Label6, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label6MouseMove(s, x, y); }));
    connect(Label7, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label7MouseMove(s, x, y); }));
    connect(Label8, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label8MouseMove(s, x, y); }));
    connect(Label9, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label9MouseMove(s, x, y); }));
    connect(Label10, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label10MouseMove(s, x, y); }));
    connect(Label12, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label12MouseMove(s, x, y); }));
    connect(Label13, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label13MouseMove(s, x, y); }));
    connect(Label20, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label13MouseMove(s, x, y); }));
    connect(Label14, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label14MouseMove(s, x, y); }));
    connect(Label15, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label15MouseMove(s, x, y); }));
    connect(Label17, &widgets::Label::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Label17MouseMove(s, x, y); }));
    connect(Memo2, &widgets::HelpMemo::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { Memo2MouseMove(s, x, y); }));
    connect(RichEdit1, &widgets::MemoPad::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { RichEdit1MouseMove(s, x, y); }));
    connect(DirectoryListBox1, &widgets::DirectoryList::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { DirectoryListBox1MouseMove(s, x, y); }));
    connect(FileListBox1, &widgets::FileList::mouseMoved, this, userAction([this](Qt::KeyboardModifiers s, int x, int y) { FileListBox1MouseMove(s, x, y); }));
}

void TForm1::Button1MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpButton1);
}

void TForm1::Button2MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpButton2);
}

void TForm1::Button4MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpButton4);
}

void TForm1::Button5MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpButton5);
}

void TForm1::Button6MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpButton6);
}

void TForm1::Button7MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpButton7);
}

void TForm1::Button8MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpButton8);
}

void TForm1::Button11MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpButton11);
}

void TForm1::Button12MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpButton12);
}

void TForm1::Button13MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpButton13);
}

void TForm1::Edit3MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpEdit3);
}

void TForm1::Edit4MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpEdit4);
}

void TForm1::Edit6MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpEdit6);
}

void TForm1::Edit8MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpEdit8);
}

void TForm1::Label1MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel1);
}

void TForm1::Label2MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel2);
}

void TForm1::Label3MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel3);
}

void TForm1::Label4MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel4);
}

void TForm1::Label5MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel5);
}

void TForm1::Label6MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel6);
}

void TForm1::Label7MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel7);
}

void TForm1::Label8MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel8);
}

void TForm1::Label9MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel9);
}

void TForm1::Label10MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel10);
}

void TForm1::Label12MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel12);
}

void TForm1::Label13MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel13);
}

void TForm1::Label14MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel14);
}

void TForm1::Label15MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel15);
}

void TForm1::Label17MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpLabel17);
}

void TForm1::Memo2MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpMemo2);
}

void TForm1::RichEdit1MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpRichEdit1);
}

void TForm1::DirectoryListBox1MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpDirectoryListBox1);
}

void TForm1::FileListBox1MouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp(texts::kHelpFileListBox1);
}

void TForm1::FormMouseMove(Qt::KeyboardModifiers, int, int)
{
    showHelp("");
}

void TForm1::Memo2DblClick()
{
    Memo2->hide();
    Image1->show();
    Label21->show();
}

void TForm1::Image1Click()
{
    Memo2->show();
    Image1->hide();
    Label21->hide();
}

} // namespace app
