#pragma once

// Driving the whole window as a user does, for the window tests and the desktop stage:
// reading files in through the read button, and whether the mon file browser is shown.
// The single controls are driven with ControlDriver.h.

#include "support/ControlDriver.h"

namespace app {
class TForm1;
}

namespace support {

class ScriptedPrompts;

// Reads `path` through the read button, the open dialog answering with `filterIndex`
// (1 banks, 2 mon files).
void readFile(app::TForm1& form, ScriptedPrompts& prompts, const QString& path, int filterIndex);
// Reads a mon file and adds its questions to the question table by a click on its row.
void loadMonFile(app::TForm1& form, ScriptedPrompts& prompts, const QString& path);

// The drive, directory and file lists of the browser, all shown.
bool browserVisible(const app::TForm1& form);

} // namespace support
