#pragma once

// The editor is a desktop program: without a display it says so in one line and exits
// with a non-zero status, instead of Qt's abort.

namespace app {

inline constexpr int kNoDisplayStatus = 3;

// Before the application object exists: true when a platform can be expected (an X display
// is named, a Qt platform was chosen explicitly, or a Wayland compositor answers on its
// socket). Otherwise prints the message and returns false.
bool displayAvailable();

// While the application object is built: a platform that cannot start (a named display
// that does not answer) prints the message and exits with kNoDisplayStatus.
void exitQuietlyWithoutPlatform();
// Restores Qt's own message handling once the application object exists.
void restoreMessageHandling();

} // namespace app
