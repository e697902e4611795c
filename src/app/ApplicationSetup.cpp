#include "app/ApplicationSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

void setUpApplication(QApplication& application)
{
    // Wayland desktops find the window's desktop entry, and with it the icon, by this name.
    QApplication::setDesktopFileName(QStringLiteral("jp.zelqua.Editor"));
    // On X11 the class of WM_CLASS is the application's name; docks tie the window to the
    // desktop entry by it (StartupWMClass), whatever name the program was started by.
    QApplication::setApplicationName(QStringLiteral("zelqua-editor"));

    auto* qtTexts = new QTranslator(&application);
    if (qtTexts->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTexts);
}

} // namespace app
