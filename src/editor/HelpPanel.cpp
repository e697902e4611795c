// The help panel: guidance texts shown as the mouse moves over the controls, the window's
// bare surface emptying it, and hiding and restoring the panel.

#include "app/TForm1.h"

#include "app/ControlTable.h"
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
    // A table's mouse movements have work of their own; its guidance is only its description.
    for (const ControlRow& row : controlTable()) {
        if (!row.guidance)
            continue;
        std::visit(
            [this, &row](auto member) {
                using Control = std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>>;
                if constexpr (!std::is_same_v<Control, widgets::StringGrid>
                              && requires { &Control::mouseMoved; })
                    connect(this->*member, &Control::mouseMoved, this,
                            userAction([this, text = row.guidance] { showHelp(*text); }));
            },
            row.member);
    }
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
