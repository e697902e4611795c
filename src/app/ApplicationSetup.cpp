#include "app/ApplicationSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

void setUpApplication(QApplication& application)
{
    // Wayland desktops find the window's desktop entry, and with it the icon, by this name.
    QApplication::setDesktopFileName(QStringLiteral("jp.zelqua.Editor"));

    auto* qtTexts = new QTranslator(&application);
    if (qtTexts->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTexts);
}

} // namespace app
