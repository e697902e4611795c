// Program start: the process set up for saving (a write past a file size limit fails and is
// reported), the application with Qt's Japanese dialog texts, then the main window (whose
// caption is the application title) and the message loop.

#include "app/ApplicationSetup.h"
#include "app/DisplayCheck.h"
#include "app/TForm1.h"
#include "platform/ProcessSetup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::setUpProcess();
    if (!app::displayAvailable())
        return app::kNoDisplayStatus;
    app::exitQuietlyWithoutPlatform();
    QApplication application(argc, argv);
    app::restoreMessageHandling();
    app::setUpApplication(application);

    app::TForm1 Form1;
    Form1.show();
    return application.exec();
}
