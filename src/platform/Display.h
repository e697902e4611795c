#pragma once

// Whether a desktop can be expected before Qt is asked to start one. On X11 and Wayland
// systems a display is named in the environment (or a Qt platform was chosen explicitly);
// a Windows program always has its desktop.

namespace platform {

bool displayNamed();

} // namespace platform
