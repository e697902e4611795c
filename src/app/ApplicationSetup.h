#pragma once

// What the application object carries before the window is made: Qt's own Japanese
// translations, so the standard dialogs speak Japanese, and the desktop entry's name.
//
// No application display name is set. Qt appends it to the title of every window it
// shows ("情報 — Zelqua≪…"), which would make the message boxes and file dialogs carry
// more than their kind's name and the error box more than the application title. The
// application title lives in the main window's caption and the error box's title.

class QApplication;

namespace app {

void setUpApplication(QApplication& application);

} // namespace app
