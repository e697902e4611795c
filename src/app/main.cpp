// Program start: the process set up for saving (a write past a file size limit fails and is
// reported), the command line's options (they need no display), then the application with
// Qt's Japanese dialog texts, the main window (whose caption is the application title), the
// work a window left behind when it did not end normally, the files named on the command
// line, and the message loop; a normal end removes the window's kept work.

#include "app/ApplicationSetup.h"
#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/StartupWork.h"
#include "app/TForm1.h"
#include "app/recovery/WorkRecovery.h"
#include "platform/Console.h"
#include "platform/ProcessSetup.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    platform::setUpProcess();
    const app::CommandLine options = app::parseCommandLine(app::narrowArguments(argc, argv));
    if (options.action != app::CommandLine::Action::Run) {
        platform::useStartingConsole();   // a Windows desktop program prints nowhere else
        return app::answerCommandLine(options);
    }
    if (!app::displayAvailable())
        return app::kNoDisplayStatus;
    app::StartupWork startup;
    app::exitQuietlyWithoutPlatform();
    QApplication application(argc, argv);
    startup.applicationReady();
    app::restoreMessageHandling();
    app::setUpApplication(application);

    auto Form1 = std::make_unique<app::TForm1>(nullptr, app::TForm1::Showing::WhileBuilding);
    // The work of a window that did not end normally is offered first; files named on the
    // command line, then those dropped while it asked, are read after the question, into the
    // window restored or not.
    app::recovery::WorkRecovery recovery(*Form1);
    const std::vector<QStringList> droppedWhileAsking = recovery.offerLeftovers();
    // Qt's own copy of the command line: on Windows it comes from the wide command line,
    // so Japanese file names arrive whole whatever the ANSI code page.
    Form1->openFilesLater(app::parseCommandLine(QCoreApplication::arguments()).files);
    for (const QStringList& dropped : droppedWhileAsking)
        Form1->openFilesLater(dropped, app::TForm1::FileRoad::Drop);
    const int status = application.exec();
    // The window is closed (⑩, its close button, a logout): once it is gone (with the kept
    // blocks its table still read), its kept work is not needed.
    Form1.reset();
    recovery.finish();
    return status;
}
