// Activation, closing and the quit button.

#include "app/TForm1.h"
#include "widgets/MemoPad.h"

namespace app {

void TForm1::FormActivate()
{
    // The same object every time, so every activation after the first changes nothing.
    m_state.SavedFont = &RichEdit1->baseFont();
}

void TForm1::FormClose()
{
    m_state.BankStream.reset();
}

void TForm1::Button2Click()
{
    close();
}

} // namespace app
