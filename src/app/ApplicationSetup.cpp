#include "app/ApplicationSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

void setUpApplication(QApplication& application)
{
    auto* qtTexts = new QTranslator(&application);
    if (qtTexts->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTexts);
}

} // namespace app
