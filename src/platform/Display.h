#pragma once

// Whether a desktop can be expected before Qt is asked to start one, and what to tell the
// user when there is none. On X11 and Wayland systems a display is named in the environment
// (or a Qt platform was chosen explicitly) or a Wayland compositor answers on its socket; a
// Windows program always has its desktop.

#include <string>

namespace platform {

bool displayNamed();
// The one line printed when no desktop can be reached, with its line end.
std::string noDisplayMessage();

} // namespace platform
