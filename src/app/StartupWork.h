#pragma once

// Work the window needs as soon as it is built, done on one other thread while the main
// thread starts Qt: fontconfig's configuration and the Shift-JIS tables while Qt loads its
// plugins and connects to the display, then, once the application object exists, the icons'
// pictures while the window builds its controls. Each piece is ready, or finished by
// whoever needs it first, when the window asks for it.

#include <future>

namespace app {

class StartupWork {
public:
    StartupWork();
    // Waits for the thread; the icon's pictures are left out when the application object
    // never came.
    ~StartupWork();
    StartupWork(const StartupWork&) = delete;
    StartupWork& operator=(const StartupWork&) = delete;

    // The application object exists: painting, even on a QImage, asks it for the default font.
    void applicationReady();

private:
    std::promise<bool> m_application;
    bool m_told = false;
    std::future<void> m_working;
};

} // namespace app
