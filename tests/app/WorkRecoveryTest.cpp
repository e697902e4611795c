// The work kept beside the files: a real editor killed with SIGKILL gives its work back at
// the next start, and kept works that cannot be read are told, set aside untouched, and
// leave a window that starts empty and works.

#include "app/TForm1.h"
#include "app/recovery/RecoveryTexts.h"
#include "app/recovery/WorkRecovery.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/WindowDriver.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/grid/StringGrid.h"

#include <QDirIterator>
#include <QMessageBox>
#include <QPushButton>
#include <QMimeData>
#include <QProcess>
#include <QtTest>

#include <functional>
#include <map>

using support::ScriptedPrompts;

namespace {

// What the user would otherwise redo: both tables, the fields and the memo pad.
std::vector<std::string> workOf(app::TForm1& form)
{
    std::vector<std::string> work = support::allCells(*form.StringGrid1);
    const std::vector<std::string> table = support::allCells(*form.StringGrid2);
    work.insert(work.end(), table.begin(), table.end());
    for (const widgets::LineEdit* edit : {form.Edit3, form.Edit4, form.Edit5, form.Edit6, form.Edit7, form.Edit8})
        work.push_back(edit->Text());
    work.push_back(form.Edit7->Color().name().toStdString());
    work.push_back(form.RichEdit1->toPlainText().toStdString());
    work.push_back(std::to_string(form.state().MonFileCount));
    return work;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// Every file under `folder`, by path relative to it, with its bytes.
std::map<QString, QByteArray> filesUnder(const QString& folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files[QDir(folder).relativeFilePath(path)] = file.readAll();
    }
    return files;
}

QStringList entries(const QString& root, const QString& pattern)
{
    return QDir(root).entryList({pattern}, QDir::Dirs | QDir::NoDotAndDotDot);
}

void rewrite(const QString& path, const std::function<void(QByteArray&)>& change)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    change(bytes);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class WorkRecoveryTest final : public QObject {
    Q_OBJECT

private slots:
    void killedEditorRestored()
    {
        support::TestFolder folder;
        QStringList files;
        for (const char* name : {"a", "b"}) {
            const std::string title = std::string("T") + name;
            files << folder.write(QStringLiteral("%1.mon").arg(QLatin1String(name)),
                                  support::monText("2", title, title + "G", {{"A1", "Q1"}, {"A2", "Q2"}}));
        }
        const QString state = folder.path(QStringLiteral("state"));
        const QString root = state + QStringLiteral("/zelqua-editor");

        QProcess editor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_STATE_HOME"), state);
        editor.setProcessEnvironment(environment);
        editor.start(QStringLiteral(ZQ_EDITOR), files);
        QVERIFY(editor.waitForStarted(30000));
        // Killed once the work it read is kept (within a second of the last change).
        QTRY_VERIFY_WITH_TIMEOUT(!entries(root, QStringLiteral("work-*")).isEmpty()
                                     && QFile::exists(root + "/" + entries(root, QStringLiteral("work-*")).front() + "/state"),
                                 30000);
        QTest::qWait(1500);
        editor.kill();  // SIGKILL
        QVERIFY(editor.waitForFinished(30000));
        QCOMPARE(editor.exitStatus(), QProcess::CrashExit);

        // A file dropped on the question is read after it, as a drop on the restored window.
        const QString dropped = folder.write(QStringLiteral("c.mon"), support::monText("2", "Tc", "TcG", {{"A3", "Q3"}}));
        ScriptedPrompts reference;
        app::TForm1 made(&reference);
        made.openFilesLater(files);
        made.openFilesLater({dropped}, app::TForm1::FileRoad::Drop);
        settle();

        // The question in Qt's own box: Return restores.
        app::TForm1 restored;
        restored.show();
        app::recovery::WorkRecovery recovery(restored, root);
        bool askedAndTaken = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->windowHandle())
                return;
            QMimeData files;
            files.setUrls({QUrl::fromLocalFile(dropped)});
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(box->windowHandle(), &drop);
            askedAndTaken = box->buttons().size() == 2 && box->defaultButton()->text() == QStringLiteral("はい(&Y)")
                            && drop.isAccepted();
            QTest::keyClick(box, Qt::Key_Return);
        });
        const std::vector<QStringList> drops = recovery.offerLeftovers();
        QVERIFY(askedAndTaken);
        QCOMPARE(drops, std::vector<QStringList>{{dropped}});
        for (const QStringList& set : drops)
            restored.openFilesLater(set, app::TForm1::FileRoad::Drop);
        settle();
        QCOMPARE(workOf(restored), workOf(made));
        QVERIFY(workOf(restored) != workOf(*std::make_unique<app::TForm1>(&reference)));

        // The restored work is this window's now: kept as it changes, gone at a normal end.
        restored.Edit4->setText("changed");
        QVERIFY(recovery.keepNow());
        QCOMPARE(entries(root, QStringLiteral("work-*")).size(), 1);
        recovery.finish();
        QVERIFY(entries(root, QStringLiteral("work-*")).isEmpty());
    }

    void keptWorksThatCannotBeRead_data()
    {
        QTest::addColumn<QString>("file");     // the file changed, in the kept work's folder
        QTest::addColumn<int>("change");       // what is done to it
        QTest::addColumn<QString>("setAside"); // the name prefix it is kept under
        QTest::addColumn<bool>("told");        // a warning says so
        enum { Truncate, FlipLast, FlipMiddle, Remove, Newer, Empty, Decline };
        QTest::newRow("state cut short") << "state" << int(Truncate) << "damaged-" << true;
        QTest::newRow("state scrambled") << "state" << int(FlipMiddle) << "damaged-" << true;
        QTest::newRow("state checksum") << "state" << int(FlipLast) << "damaged-" << true;
        QTest::newRow("state empty") << "state" << int(Empty) << "damaged-" << true;
        QTest::newRow("state of a newer version") << "state" << int(Newer) << "damaged-" << true;
        QTest::newRow("block cut short") << "block-1" << int(Truncate) << "damaged-" << true;
        QTest::newRow("block scrambled") << "block-1" << int(FlipMiddle) << "damaged-" << true;
        QTest::newRow("block missing") << "block-1" << int(Remove) << "damaged-" << true;
        QTest::newRow("declined") << "state" << int(Decline) << "aside-" << false;
    }

    void keptWorksThatCannotBeRead()
    {
        QFETCH(QString, file);
        QFETCH(int, change);
        QFETCH(QString, setAside);
        QFETCH(bool, told);
        enum { Truncate, FlipLast, FlipMiddle, Remove, Newer, Empty, Decline };
        support::TestFolder folder;
        const QString root = folder.path(QStringLiteral("recovery"));
        {
            ScriptedPrompts prompts;
            app::TForm1 form(&prompts);
            app::recovery::WorkRecovery recovery(form, root);
            const QString bank = folder.write(QStringLiteral("bank.5TQ"),
                                              support::bankBytes({support::numberedGenre(1, 20, "One")}));
            support::readFile(form, prompts, bank, 1);
            support::clickRow(*form.StringGrid1, 1);
            QCOMPARE(form.StringGrid2->RowCount(), 22);
            QVERIFY(recovery.keepNow());
        }  // the window goes without a normal end
        const QStringList kept = entries(root, QStringLiteral("work-*"));
        QCOMPARE(kept.size(), 1);
        const QString work = root + "/" + kept.front();
        const QString path = work + "/" + file;
        QVERIFY(QFile::exists(path));
        switch (change) {
        case Truncate: rewrite(path, [](QByteArray& b) { b.chop(b.size() / 3); }); break;
        case FlipLast: rewrite(path, [](QByteArray& b) { b[b.size() - 1] = char(b[b.size() - 1] ^ 1); }); break;
        case FlipMiddle: rewrite(path, [](QByteArray& b) { b[b.size() / 2] = char(b[b.size() / 2] ^ 0x40); }); break;
        case Remove: QVERIFY(QFile::remove(path)); break;
        case Newer: rewrite(path, [](QByteArray& b) { b[8] = char(b[8] + 1); }); break;
        case Empty: rewrite(path, [](QByteArray& b) { b.clear(); }); break;
        }
        std::map<QString, QByteArray> before = filesUnder(work);
        before.erase(QStringLiteral("lock"));

        ScriptedPrompts prompts;
        if (change == Decline || file != QLatin1String("state"))
            prompts.answer(change == Decline ? widgets::MessageAnswer::No : widgets::MessageAnswer::Yes);
        app::TForm1 form(&prompts);
        app::recovery::WorkRecovery recovery(form, root);
        recovery.offerLeftovers();
        QVERIFY(prompts.unexpected().empty());
        QCOMPARE(prompts.pending(), std::size_t(0));
        const std::string& warning = change == Newer ? app::texts::kRecoveryNewer.str() : app::texts::kRecoveryDamaged.str();
        int warnings = 0;
        for (const ScriptedPrompts::Call& call : prompts.calls())
            warnings += call.messageKind == widgets::MessageKind::Warning
                        && call.text.starts_with(warning.substr(0, warning.find('\n')));
        QCOMPARE(warnings, told ? 1 : 0);
        // Kept under another name, untouched; the window starts empty and works.
        QVERIFY(entries(root, QStringLiteral("work-*")).isEmpty());
        const QStringList aside = entries(root, setAside + "*");
        QCOMPARE(aside.size(), 1);
        std::map<QString, QByteArray> after = filesUnder(root + "/" + aside.front());
        after.erase(QStringLiteral("lock"));
        QVERIFY(after == before);
        QCOMPARE(form.StringGrid2->RowCount(), 2);
        form.Edit4->setText("new work");
        QVERIFY(recovery.keepNow());
        recovery.finish();
        QVERIFY(entries(root, QStringLiteral("work-*")).isEmpty());
    }

    void unwritableFolderToldOnce()
    {
        support::TestFolder folder;
        // A file where the folder should be: nothing can be kept there.
        const QString root = folder.write(QStringLiteral("recovery"), "not a folder");
        ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        app::recovery::WorkRecovery recovery(form, root);
        for (const char* title : {"one", "two", "three"}) {
            form.Edit4->setText(title);
            QVERIFY(!recovery.keepNow());
            settle();
        }
        QCOMPARE(prompts.calls().size(), std::size_t(1));
        QCOMPARE(prompts.calls().front().messageKind, widgets::MessageKind::Warning);
        QCOMPARE(form.Edit4->Text(), std::string("three"));
    }
};

QTEST_MAIN(WorkRecoveryTest)
#include "WorkRecoveryTest.moc"
