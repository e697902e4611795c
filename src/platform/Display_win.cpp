#include "platform/Display.h"

namespace platform {

bool displayNamed()
{
    return true;
}

// Only a platform plugin that does not load ends here on Windows.
std::string noDisplayMessage()
{
    return "zelqua-editor: the window cannot be shown; keep the folder \"platforms\" beside zelqua-editor.exe\n";
}

} // namespace platform
