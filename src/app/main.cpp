// Program start: the application with its title and Qt's Japanese dialog texts, then the
// main window and the message loop.

#include "app/DisplayCheck.h"
#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "widgets/ShiftJis.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    if (!app::displayAvailable())
        return app::kNoDisplayStatus;
    app::exitQuietlyWithoutPlatform();
    QApplication application(argc, argv);
    app::restoreMessageHandling();
    QApplication::setApplicationDisplayName(sjis::toUnicode(app::texts::kApplicationTitle));
    // Wayland desktops find the window's desktop entry, and with it the icon, by this name.
    QApplication::setDesktopFileName(QStringLiteral("jp.zelqua.Editor"));

    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    app::TForm1 Form1;
    Form1.show();
    return application.exec();
}
