// Program start: the application with its title, Japanese fonts and Qt's Japanese dialog
// texts, and the main window.

#include "app/Fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString title = QStringLiteral("Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1");
    QApplication::setApplicationDisplayName(title);

    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    app::registerFontSubstitutions();
    QApplication::setFont(app::windowFont(app::kGothic, 17, QApplication::primaryScreen()->logicalDotsPerInch() / 120.0));

    // The window's controls are still being built; this is the bare main window.
    QWidget window;
    window.setWindowTitle(title);
    window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    const double scale = QApplication::primaryScreen()->logicalDotsPerInch() / 120.0;
    window.resize(int(800 * scale), int(565 * scale));
    window.show();
    return application.exec();
}
