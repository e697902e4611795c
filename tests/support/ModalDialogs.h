#pragma once

// Answering Qt's real modal dialogs (file dialogs, message boxes) while they are shown, as
// a user would: the test sets up the answer, then runs the code that shows the dialog.

#include <functional>

class QWidget;

namespace support {

// Runs `answer` on the next modal dialog as soon as it is shown; the dialog is the argument.
void whenShown(std::function<void(QWidget*)> answer);

} // namespace support
