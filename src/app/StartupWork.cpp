#include "app/StartupWork.h"

#include "app/Icons.h"
#include "codec/ShiftJis.h"
#include "platform/FontConfiguration.h"

namespace app {

StartupWork::StartupWork()
{
    // In the order the window asks for them: its first font, its captions' text, its icons.
    // One thread rather than three: with two cores, the other is busy with Qt's own start.
    m_working = std::async(std::launch::async, [application = m_application.get_future()]() mutable {
        platform::loadFontConfiguration();
        sjis::prepare();
        if (application.get()) {
            helpIconImage();
            windowIconImages();
        }
    });
}

StartupWork::~StartupWork()
{
    if (!m_told)
        m_application.set_value(false);
    m_working.wait();
}

void StartupWork::applicationReady()
{
    if (!m_told)
        m_application.set_value(true);
    m_told = true;
}

} // namespace app
