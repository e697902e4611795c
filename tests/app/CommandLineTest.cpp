// The editor's command line: which arguments are files, options and Qt's own, and the real
// program answering --help, --version and a wrong option without any display.

#include "app/CommandLine.h"

#include <QProcess>
#include <QtTest>

class CommandLineTest final : public QObject {
    Q_OBJECT

private slots:
    void parsing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QStringList>("files");
        using Action = app::CommandLine::Action;
        QTest::newRow("nothing") << QStringList{} << int(Action::Run) << QStringList{};
        QTest::newRow("files in order") << QStringList{"b.mon", "問題集.5TQ", "-"} << int(Action::Run)
                                        << QStringList{"b.mon", "問題集.5TQ", "-"};
        QTest::newRow("Qt's options are Qt's")
            << QStringList{"-platform", "xcb", "a.mon", "-style=fusion", "-reverse", "-qwindowtitle", "x"}
            << int(Action::Run) << QStringList{"a.mon"};
        QTest::newRow("-- ends the options") << QStringList{"--", "--help", "-x.mon"} << int(Action::Run)
                                             << QStringList{"--help", "-x.mon"};
        QTest::newRow("help") << QStringList{"a.mon", "--help"} << int(Action::Help) << QStringList{"a.mon"};
        QTest::newRow("-h") << QStringList{"-h"} << int(Action::Help) << QStringList{};
        QTest::newRow("version") << QStringList{"--version", "--bogus"} << int(Action::Version) << QStringList{};
        QTest::newRow("wrong option") << QStringList{"a.mon", "--bogus", "--help"} << int(Action::WrongOption)
                                      << QStringList{"a.mon"};
        QTest::newRow("single-dash unknown") << QStringList{"-x"} << int(Action::WrongOption) << QStringList{};
    }

    void parsing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QStringList, files);
        arguments.prepend(QStringLiteral("zelqua-editor"));
        const app::CommandLine parsed = app::parseCommandLine(arguments);
        QCOMPARE(int(parsed.action), action);
        QCOMPARE(parsed.files, files);
    }

    // The program itself, with neither an X nor a Wayland display nor a Qt platform named.
    void withoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("help, English") << QStringList{"--help"} << "C.UTF-8" << 0 << "Usage: zelqua-editor [FILE...]" << "";
        QTest::newRow("help, Japanese") << QStringList{"-h"} << "ja_JP.UTF-8" << 0 << "使い方: zelqua-editor [ファイル...]" << "";
        QTest::newRow("help after Qt's option") << QStringList{"-style", "fusion", "--help"} << "C.UTF-8" << 0
                                                << "--version" << "";
        QTest::newRow("version") << QStringList{"--version"} << "C.UTF-8" << 0 << "zelqua-editor " ZQ_VERSION "\n" << "";
        QTest::newRow("wrong option") << QStringList{"--bogus"} << "C.UTF-8" << 2 << ""
                                      << "zelqua-editor: unknown option --bogus";
        QTest::newRow("wrong option, Japanese") << QStringList{"-q"} << "ja_JP.UTF-8" << 2 << ""
                                                << "使い方: zelqua-editor";
        QTest::newRow("a file, no display") << QStringList{"a.mon"} << "C.UTF-8" << 3 << "" << "xvfb-run";
    }

    void withoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, language);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess editor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "LC_MESSAGES"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QDir::tempPath());
        environment.insert(QStringLiteral("LC_ALL"), language);
        environment.insert(QStringLiteral("LANG"), language);
        editor.setProcessEnvironment(environment);
        editor.start(QStringLiteral(ZQ_EDITOR), arguments);
        QVERIFY(editor.waitForFinished(30000));
        const QString printed = QString::fromUtf8(editor.readAllStandardOutput());
        const QString complaint = QString::fromUtf8(editor.readAllStandardError());
        QCOMPARE(editor.exitCode(), status);
        QVERIFY2(out.isEmpty() ? printed.isEmpty() : printed.contains(out), qPrintable(printed));
        QVERIFY2(err.isEmpty() ? complaint.isEmpty() : complaint.contains(err), qPrintable(complaint));
    }
};

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
