#pragma once

// The system's font configuration, read before Qt first asks for a font. On Linux, Qt's font
// database starts by loading fontconfig's configuration (a few dozen XML files) and its font
// caches, which takes several milliseconds; loaded on another thread while Qt connects to the
// display, it is ready when the window asks for its first font. Windows keeps its fonts in
// the system, and there is nothing to load.

namespace platform {

// Loads the configuration now (fontconfig keeps it for the process, and Qt's later call finds
// it ready). Safe on any thread; calling it again does nothing.
void loadFontConfiguration();

} // namespace platform
