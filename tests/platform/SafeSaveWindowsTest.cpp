// The Windows save when a call fails. Every failure ReplaceFileW documents is brought about
// through the save's call table, with the two files left as documented, and so are failed
// writes of the in-place path (a hard-linked file), the writing back included. Each must
// leave the old content under the file's name or, where the old file cannot be put back,
// the new one; report the error; and leave nothing beside it but a copy of the old content
// that could not be put back. Runs under Wine in the Windows check.

#include "platform/SafeSave.h"
#include "platform/SafeSaveCalls_win.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <windows.h>

#include <string>

namespace {

enum class Fault {
    None,
    NotRemoved,        // ERROR_UNABLE_TO_REMOVE_REPLACED: both files keep their names
    NotRenamed,        // ERROR_UNABLE_TO_MOVE_REPLACEMENT with a backup name: both keep their names
    NotRenamedGone,    // ERROR_UNABLE_TO_MOVE_REPLACEMENT as without a backup name: the old file is gone
    NotMoved,          // ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the old file under the backup name
    NotMovedHeld,      // the same, and the old file held open there by another program
    Denied,            // any other error: both keep their names
    WriteFails,        // in place: writing the new content fails halfway
    WriteBackFails,    // in place: writing the old content back fails as well
};
enum class Under { Old, New, Cut };  // what the file's name holds afterwards

const platform::safesave::Calls kSystem = platform::safesave::calls();
Fault g_fault = Fault::None;
int g_writes = 0;
std::wstring g_elsewhere;  // where a vanished old file goes, outside the folder
HANDLE g_held = INVALID_HANDLE_VALUE;

BOOL replaceWithFault(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags)
{
    const auto fail = [](DWORD code) {
        SetLastError(code);
        return FALSE;
    };
    if ((g_fault == Fault::NotMoved || g_fault == Fault::NotMovedHeld) && !backup)
        return fail(ERROR_INVALID_PARAMETER);
    switch (g_fault) {
    case Fault::NotRemoved:
        return fail(ERROR_UNABLE_TO_REMOVE_REPLACED);
    case Fault::NotRenamed:
        return fail(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    case Fault::NotRenamedGone:
        MoveFileW(replaced, g_elsewhere.c_str());
        return fail(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
    case Fault::NotMoved:
        MoveFileW(replaced, backup);
        return fail(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    case Fault::NotMovedHeld:
        MoveFileW(replaced, backup);
        g_held = CreateFileW(backup, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        return fail(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    case Fault::Denied:
        return fail(ERROR_ACCESS_DENIED);
    default:
        return kSystem.replaceFile(replaced, replacement, backup, flags);
    }
}

// In place, the writes to the file itself fail: the new content (the first) halfway, and
// with WriteBackFails the old content written back (the second) too. Writes to any other
// file (the copy of the old content) go through.
bool writeWithFault(HANDLE file, std::string_view bytes)
{
    wchar_t name[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleW(file, name, DWORD(std::size(name)), FILE_NAME_NORMALIZED);
    const std::wstring_view path(name, length < std::size(name) ? length : 0);
    const bool toTarget = path.ends_with(L"\\quiz.mon");
    const int write = toTarget ? ++g_writes : 0;
    const bool fails = (g_fault == Fault::WriteFails && write == 1)
                       || (g_fault == Fault::WriteBackFails && (write == 1 || write == 2));
    if (!fails)
        return kSystem.writeWhole(file, bytes);
    kSystem.writeWhole(file, bytes.substr(0, bytes.size() / 2));
    SetLastError(ERROR_DISK_FULL);
    return false;
}

QByteArray content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class SafeSaveWindowsTest final : public QObject {
    Q_OBJECT

private slots:
    void failures_data();
    void failures();
};

void SafeSaveWindowsTest::failures_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("under");
    QTest::addColumn<bool>("copyKept");  // a file beside it holds the old content

    const auto row = [](const char* name, Fault fault, Under under, bool copyKept) {
        QTest::newRow(name) << int(fault) << int(under) << copyKept;
    };
    row("replaced", Fault::None, Under::New, false);
    row("replaced file not removed: old file kept", Fault::NotRemoved, Under::Old, false);
    row("replacement not renamed: old file kept", Fault::NotRenamed, Under::Old, false);
    row("replacement not renamed, old file gone: new file put in", Fault::NotRenamedGone, Under::New, false);
    row("replacement not moved: old file moved back", Fault::NotMoved, Under::Old, false);
    row("replacement not moved, old file held: new file put in, old kept beside", Fault::NotMovedHeld, Under::New,
        true);
    row("access denied: old file kept", Fault::Denied, Under::Old, false);
    row("in place: write fails, old content written back", Fault::WriteFails, Under::Old, false);
    row("in place: writing back fails too, old content kept beside", Fault::WriteBackFails, Under::Cut, true);
}

void SafeSaveWindowsTest::failures()
{
    QFETCH(int, fault);
    QFETCH(int, under);
    QFETCH(bool, copyKept);
    g_fault = Fault(fault);
    g_writes = 0;
    const bool inPlace = g_fault == Fault::WriteFails || g_fault == Fault::WriteBackFails;

    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    QVERIFY(folder.isValid() && elsewhere.isValid());
    const QString path = folder.filePath(QStringLiteral("quiz.mon"));
    const QString other = folder.filePath(QStringLiteral("other.mon"));
    g_elsewhere = QDir::toNativeSeparators(elsewhere.filePath(QStringLiteral("gone"))).toStdWString();
    const QByteArray old(5000, 'o');
    const QByteArray bytes(12000, 'n');
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), qint64(old.size()));
    }
    QStringList names{QStringLiteral("quiz.mon")};
    if (inPlace) {
        QVERIFY(CreateHardLinkW(QDir::toNativeSeparators(other).toStdWString().c_str(),
                                QDir::toNativeSeparators(path).toStdWString().c_str(), nullptr));
        names << QStringLiteral("other.mon");
    }

    platform::safesave::calls() = {replaceWithFault, writeWithFault};
    const std::error_code error = platform::saveFile(path, std::string_view(bytes.constData(), std::size_t(bytes.size())));
    platform::safesave::calls() = kSystem;
    if (g_held != INVALID_HANDLE_VALUE) {
        CloseHandle(g_held);
        g_held = INVALID_HANDLE_VALUE;
    }

    QCOMPARE(bool(error), g_fault != Fault::None);
    if (inPlace)
        QCOMPARE(g_writes, 2);  // to the file itself: the new content, then the old back
    switch (Under(under)) {
    case Under::Old:
        QCOMPARE(content(path), old);
        break;
    case Under::New:
        QCOMPARE(content(path), bytes);
        break;
    case Under::Cut:
        break;
    }
    if (inPlace)
        QCOMPARE(content(other), content(path));
    QStringList found = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names)
        QVERIFY2(found.removeOne(name), qPrintable(name));
    QCOMPARE(found.size(), qsizetype(copyKept ? 1 : 0));
    if (copyKept)
        QCOMPARE(content(folder.filePath(found.first())), old);
}

QTEST_GUILESS_MAIN(SafeSaveWindowsTest)
#include "SafeSaveWindowsTest.moc"
