// Saving never loses or changes the old file. Every kind of target (new, replaced,
// hard-linked, behind symbolic links, FIFO, device, socket, folder), the permission cases
// as an unprivileged user, a folder's default ACL, a full disk (a file size limit, and a
// full tmpfs where mounting is permitted), a new name another program takes meanwhile and
// the leftovers of killed saves, each checked against a snapshot of everything around the
// target: a refused save changes nothing at all, a save changes only the content.
//
// Each save runs in a child process of this program ("--save PATH LIMIT", the bytes on
// standard input), so a save that blocks fails instead of hanging the test, a file size
// limit stays in the child, and the unprivileged cases run as nobody when the test is
// root. The child starts with SIGXFSZ at its default, as any program does, and calls the
// programs' own process setup. One more test saves through the window's save button, in
// a child of its own ("--window PATH LIMIT") for the same reasons. The last shows why the
// save is not QSaveFile's.

#include "app/TForm1.h"
#include "platform/ProcessSetup.h"
#include "platform/SafeSave.h"
#include "platform/SaveFiles_unix.h"
#include "support/ScriptedPrompts.h"
#include "support/TestText.h"
#include "widgets/Button.h"
#include "widgets/MemoPad.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

using support::sj;

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;
constexpr int kRefusedExit = 3;
// A usual memo pad: below the 16 KiB a buffered writer keeps until its final flush, where
// a full disk shows only at that flush.
constexpr std::size_t kNewSize = 12000;
constexpr qint64 kSizeLimit = 8192;

enum class Setup {
    NewFile, SingleLink, HardLink, SymlinkChain, DanglingSymlink, Fifo, SymlinkToFifo, DeviceNode,
    DevNull, Socket, Folder, ReadOnlyFolderFile, ReadOnlyFolderNew, OtherOwner, ForeignGroup,
    ReadOnlyFile, Attributes, LongName, FullTmpfs, FullTmpfsHardLink, DefaultAcl, NewFileTakenMeanwhile, Leftovers
};
enum class As { Root, Nobody };
enum class Expect { Created, Replaced, InPlace, Refused };

// Content with every byte value, CR, LF and NUL among them.
std::string oldContent(int size)
{
    std::string bytes(std::size_t(size), '\0');
    for (int i = 0; i < size; ++i)
        bytes[std::size_t(i)] = char((i * 131 + 7) % 256);
    return bytes;
}

std::vector<std::string> newLines()
{
    std::vector<std::string> lines;
    for (std::size_t n = 0, size = 0; size < kNewSize; ++n) {
        lines.push_back("15,\"A" + std::to_string(n) + "\",\"Q" + std::to_string(n) + " question text\"");
        size += lines.back().size() + 2;
    }
    return lines;
}

std::string crlf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string readBytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return support::bytes(file.readAll());
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

// What a save may change or must keep of one name.
struct Entry {
    mode_t mode = 0;
    uid_t uid = 0;
    gid_t gid = 0;
    ino_t ino = 0;
    nlink_t nlink = 0;
    dev_t rdev = 0;
    std::string content;     // regular files
    std::string link;        // symbolic links
    std::string attributes;  // extended attributes, "name=value;"
};

std::string attributesOf(const std::string& path)
{
    char names[4096];
    const ssize_t size = ::llistxattr(path.c_str(), names, sizeof names);
    std::map<std::string, std::string> sorted;
    for (ssize_t at = 0; at < size; at += ssize_t(std::strlen(names + at)) + 1) {
        char value[4096];
        const ssize_t length = ::lgetxattr(path.c_str(), names + at, value, sizeof value);
        sorted[names + at] = length < 0 ? "?" : std::string(value, std::size_t(length));
    }
    std::string text;
    for (const auto& [name, value] : sorted)
        text += name + '=' + value + ';';
    return text;
}

using Snapshot = std::map<std::string, Entry>;

void addToSnapshot(Snapshot& shot, const std::string& path, const std::string& key)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return;
    Entry& e = shot[key];
    e = {st.st_mode, st.st_uid, st.st_gid, st.st_ino, st.st_nlink, st.st_rdev, {}, {}, attributesOf(path)};
    if (S_ISREG(st.st_mode)) {
        e.content = readBytes(path);
    } else if (S_ISLNK(st.st_mode)) {
        char target[4096];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        e.link.assign(target, std::size_t(std::max<ssize_t>(n, 0)));
    } else if (S_ISDIR(st.st_mode) && path != "/dev") {
        DIR* dir = ::opendir(path.c_str());
        while (dirent* item = dir ? ::readdir(dir) : nullptr) {
            const std::string name = item->d_name;
            if (name != "." && name != "..")
                addToSnapshot(shot, path + '/' + name, key + '/' + name);
        }
        if (dir)
            ::closedir(dir);
    }
}

// Everything under `folder`, and the watched names outside it.
Snapshot snapshot(const std::string& folder, const std::vector<std::string>& watched)
{
    Snapshot shot;
    addToSnapshot(shot, folder, ".");
    for (const std::string& path : watched)
        addToSnapshot(shot, path, path);
    return shot;
}

// One line per name; contents by size and hash, so a difference of one byte shows.
QByteArray describe(const Snapshot& shot)
{
    QByteArray text;
    for (const auto& [name, e] : shot) {
        char line[512];
        std::snprintf(line, sizeof line, "%s mode %06o owner %u:%u inode %llu links %llu dev %u,%u size %zu hash %016llx",
                      name.c_str(), unsigned(e.mode), unsigned(e.uid), unsigned(e.gid),
                      static_cast<unsigned long long>(e.ino), static_cast<unsigned long long>(e.nlink),
                      major(e.rdev), minor(e.rdev), e.content.size(),
                      static_cast<unsigned long long>(std::hash<std::string>{}(e.content)));
        text += line;
        text += " link " + QByteArray::fromStdString(e.link) + " attributes " + QByteArray::fromStdString(e.attributes) + '\n';
    }
    return text;
}

struct ChildRun {
    bool finished = false;
    int exitCode = -1;
    QByteArray error;
};

// A child that starts as a program started from a shell does: SIGXFSZ at its default,
// which ends the process at the file size limit unless the program sets up otherwise.
void startWithDefaultSignals(QProcess& child)
{
    child.setChildProcessModifier([] { ::signal(SIGXFSZ, SIG_DFL); });
}

// Runs this program's save in a child process, as nobody when asked and when the test
// is root (otherwise the test is already an ordinary user). `meanwhile` runs with the
// child's process id once the child has its bytes, while it saves.
ChildRun saveInChild(const QString& program, As as, const std::string& path, qint64 limit, const std::string& bytes,
                     const std::function<void(qint64)>& meanwhile = {})
{
    QStringList arguments{QStringLiteral("--save"), QFile::decodeName(QByteArray::fromStdString(path)),
                          QString::number(limit)};
    QString command = program;
    if (as == As::Nobody && ::geteuid() == 0) {
        arguments = QStringList{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                                QStringLiteral("--clear-groups"), program} + arguments;
        command = QStringLiteral("setpriv");
    }
    QProcess child;
    child.setWorkingDirectory(QStringLiteral("/"));
    // Under the sanitizers the child's leak check would read a suppressions file nobody
    // may not reach; the window test runs the same saves leak-checked in this process.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LSAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    child.setProcessEnvironment(environment);
    startWithDefaultSignals(child);
    child.start(command, arguments);
    ChildRun run;
    if (!child.waitForStarted(10000))
        return run;
    child.write(bytes.data(), qint64(bytes.size()));
    child.closeWriteChannel();
    if (meanwhile) {
        child.waitForBytesWritten(10000);
        meanwhile(child.processId());
    }
    run.finished = child.waitForFinished(20000);
    if (!run.finished) {
        child.kill();
        child.waitForFinished();
    }
    run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    run.error = child.readAllStandardError();
    return run;
}

// The child's side: the bytes from standard input saved under a file size limit.
int saveChild(const char* path, const char* limitText)
{
    const std::string bytes{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    const rlim_t limit = std::strtoull(limitText, nullptr, 10);
    if (limit > 0) {
        const rlimit size{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
            return 2;
    }
    const std::error_code error = platform::saveFile(QFile::decodeName(path), bytes);
    if (error) {
        std::fprintf(stderr, "%s\n", error.message().c_str());
        return kRefusedExit;
    }
    return 0;
}

// Undoes what a case set up that its temporary folder's removal cannot: a mount, and
// folders the user may not write.
struct CaseCleanup {
    std::string mountPoint;
    std::vector<std::string> lockedFolders;
    ~CaseCleanup()
    {
        if (!mountPoint.empty())
            ::umount2(mountPoint.c_str(), MNT_DETACH);
        for (const std::string& folder : lockedFolders)
            ::chmod(folder.c_str(), 0755);
    }
};

// Tells when a file in a folder is made, renamed into it or written to.
class FolderWatch final {
public:
    explicit FolderWatch(const std::string& folder) : m_fd(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK))
    {
        ::inotify_add_watch(m_fd, folder.c_str(), IN_CREATE | IN_MOVED_TO | IN_MODIFY);
    }
    ~FolderWatch() { ::close(m_fd); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Waits up to 10 s for an event of `mask` on a name that starts with `prefix`.
    bool waitFor(std::uint32_t mask, const std::string& prefix)
    {
        alignas(inotify_event) char buffer[8192];
        for (int polls = 0; polls < 1000; ++polls) {
            pollfd ready{m_fd, POLLIN, 0};
            if (::poll(&ready, 1, 10) <= 0)
                continue;
            const ssize_t size = ::read(m_fd, buffer, sizeof buffer);
            for (ssize_t at = 0; at < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                if ((event->mask & mask) && event->len > 0 && std::string(event->name).starts_with(prefix))
                    return true;
            }
        }
        return false;
    }

private:
    int m_fd;
};

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const QString& name : QDir(QString::fromStdString(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        names.push_back(name.toStdString());
    return names;
}

// A file size limit on this process while it lives, with SIGXFSZ ignored as the programs'
// process setup has it, so a write past the limit fails with EFBIG. Nothing may be checked
// meanwhile: the test's own output may go to a file.
class SizeLimit final {
public:
    explicit SizeLimit(rlim_t limit) : m_signal(::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit size{limit, m_old.rlim_max};
        m_set = ::setrlimit(RLIMIT_FSIZE, &size) == 0;
    }
    ~SizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        ::signal(SIGXFSZ, m_signal);
    }
    SizeLimit(const SizeLimit&) = delete;
    SizeLimit& operator=(const SizeLimit&) = delete;
    bool set() const { return m_set; }

private:
    sighandler_t m_signal;
    rlimit m_old{};
    bool m_set = false;
};

} // namespace

class SafeSaveTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void save_data();
    void save();
    void saveThroughWindow_data();
    void saveThroughWindow();
    void qSaveFileCommitsCutFile();

private:
    QTemporaryDir m_base;
    QString m_saver;  // this program, where nobody may run it
    mode_t m_umask = 022;
};

void SafeSaveTest::initTestCase()
{
    QVERIFY(m_base.isValid());
    QVERIFY(QFile::setPermissions(m_base.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                     | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup
                                                     | QFile::ExeGroup));
    // The build folder may lie where nobody cannot reach; the program links its own code
    // statically, so a copy runs anywhere.
    m_saver = m_base.filePath(QStringLiteral("saver"));
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), m_saver));
    m_umask = ::umask(0);
    ::umask(m_umask);
}

void SafeSaveTest::save_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<int>("as");
    QTest::addColumn<qint64>("limit");  // file size limit of the saving process, 0 for none
    QTest::addColumn<int>("oldSize");
    QTest::addColumn<int>("expect");

    const auto row = [](const char* name, Setup setup, As as, qint64 limit, int oldSize, Expect expect) {
        QTest::newRow(name) << int(setup) << int(as) << limit << oldSize << int(expect);
    };
    row("new file", Setup::NewFile, As::Root, 0, 0, Expect::Created);
    row("single link: replaced, owner and mode kept", Setup::SingleLink, As::Root, 0, 5000, Expect::Replaced);
    row("name of 250 bytes: replaced, group kept", Setup::LongName, As::Root, 0, 5000, Expect::Replaced);
    row("extended attributes kept", Setup::Attributes, As::Root, 0, 5000, Expect::Replaced);
    row("hard link: written in place, growing", Setup::HardLink, As::Root, 0, 5000, Expect::InPlace);
    row("symlink chain: links kept, last file replaced", Setup::SymlinkChain, As::Root, 0, 5000, Expect::Replaced);
    row("dangling symlink: its target created", Setup::DanglingSymlink, As::Root, 0, 0, Expect::Created);
    row("FIFO refused without blocking", Setup::Fifo, As::Root, 0, 0, Expect::Refused);
    row("symlink to a FIFO refused", Setup::SymlinkToFifo, As::Root, 0, 0, Expect::Refused);
    row("device node refused", Setup::DeviceNode, As::Root, 0, 0, Expect::Refused);
    row("/dev/null refused", Setup::DevNull, As::Nobody, 0, 0, Expect::Refused);
    row("socket refused", Setup::Socket, As::Root, 0, 0, Expect::Refused);
    row("folder refused", Setup::Folder, As::Root, 0, 0, Expect::Refused);
    row("read-only folder, writable file: in place, shrinking", Setup::ReadOnlyFolderFile, As::Nobody, 0, 20000,
        Expect::InPlace);
    row("read-only folder, new file refused", Setup::ReadOnlyFolderNew, As::Nobody, 0, 0, Expect::Refused);
    row("file of another owner: in place", Setup::OtherOwner, As::Nobody, 0, 20000, Expect::InPlace);
    row("group the user is not in: in place", Setup::ForeignGroup, As::Nobody, 0, 5000, Expect::InPlace);
    row("read-only file refused", Setup::ReadOnlyFile, As::Nobody, 0, 5000, Expect::Refused);
    row("size limit: new file", Setup::NewFile, As::Nobody, kSizeLimit, 0, Expect::Refused);
    row("size limit: single link", Setup::SingleLink, As::Nobody, kSizeLimit, 5000, Expect::Refused);
    row("size limit: hard link restored", Setup::HardLink, As::Nobody, kSizeLimit, 5000, Expect::Refused);
    row("size limit: read-only folder restored", Setup::ReadOnlyFolderFile, As::Nobody, kSizeLimit, 5000,
        Expect::Refused);
    row("size limit: other owner restored", Setup::OtherOwner, As::Nobody, kSizeLimit, 5000, Expect::Refused);
    row("full tmpfs: single link", Setup::FullTmpfs, As::Root, 0, 5000, Expect::Refused);
    row("full tmpfs: hard link", Setup::FullTmpfsHardLink, As::Root, 0, 5000, Expect::Refused);
    row("folder's default ACL: no ACL added", Setup::DefaultAcl, As::Root, 0, 2000, Expect::Replaced);
    row("new name taken by another program meanwhile: its file kept", Setup::NewFileTakenMeanwhile, As::Root, 0, 0,
        Expect::Refused);
    row("leftovers of killed saves removed, look-alikes kept", Setup::Leftovers, As::Root, 0, 5000, Expect::InPlace);
}

void SafeSaveTest::save()
{
    QFETCH(int, setup);
    QFETCH(int, as);
    QFETCH(qint64, limit);
    QFETCH(int, oldSize);
    QFETCH(int, expect);
    const auto kind = Setup(setup);
    const bool root = ::geteuid() == 0;
    const bool needsRoot = kind == Setup::OtherOwner || kind == Setup::ForeignGroup || kind == Setup::DeviceNode
                           || kind == Setup::FullTmpfs || kind == Setup::FullTmpfsHardLink;
    if (needsRoot && !root)
        QSKIP("setting this case up needs root");
    // The saving user: nobody when the test is root, otherwise the test's own user.
    const bool asNobody = As(as) == As::Nobody && root;
    const uid_t saverUid = asNobody ? kNobody : ::geteuid();
    const gid_t saverGid = asNobody ? kNogroup : ::getegid();

    QTemporaryDir caseDir(m_base.filePath(QStringLiteral("case-XXXXXX")));
    QVERIFY(caseDir.isValid());
    CaseCleanup cleanup;
    const std::string d = caseDir.path().toStdString();
    QCOMPARE(::chmod(d.c_str(), 0755), 0);
    QCOMPARE(::chown(d.c_str(), saverUid, saverGid), 0);

    const std::string old = oldContent(oldSize);
    const auto makeFile = [&](const std::string& path, mode_t mode, uid_t uid, gid_t gid) {
        writeBytes(path, old);
        QCOMPARE(::chmod(path.c_str(), mode), 0);
        QCOMPARE(::chown(path.c_str(), uid, gid), 0);
    };
    std::string target = d + "/old.mon";  // the name saved to
    std::string written = target;         // the file that gets the content
    std::vector<std::string> watched;
    switch (kind) {
    case Setup::NewFile:
        target = written = d + "/new.mon";
        break;
    case Setup::SingleLink:
        // Root gives the file another owner (in the saver's group), which the replacement must keep.
        makeFile(target, 0640, root && !asNobody ? 1234 : saverUid, saverGid);
        break;
    case Setup::Attributes:
        makeFile(target, 0644, saverUid, saverGid);
        if (::setxattr(target.c_str(), "user.origin", "quiz", 4, 0) != 0)
            QSKIP("this file system holds no user attributes");
        break;
    case Setup::LongName:
        target = written = d + '/' + std::string(250, 'n');
        // And another group (the saver's own file), which the replacement must keep too.
        makeFile(target, 0644, saverUid, root && !asNobody ? 5678 : saverGid);
        break;
    case Setup::HardLink:
        makeFile(target, 0644, saverUid, saverGid);
        QCOMPARE(::link(target.c_str(), (d + "/other.mon").c_str()), 0);
        break;
    case Setup::SymlinkChain:
        QCOMPARE(::mkdir((d + "/real").c_str(), 0755), 0);
        QCOMPARE(::mkdir((d + "/sub").c_str(), 0755), 0);
        written = d + "/real/c.mon";
        makeFile(written, 0644, saverUid, saverGid);
        QCOMPARE(::symlink("../real/c.mon", (d + "/sub/b.mon").c_str()), 0);
        QCOMPARE(::symlink("sub/b.mon", target.c_str()), 0);
        break;
    case Setup::DanglingSymlink:
        QCOMPARE(::mkdir((d + "/real").c_str(), 0755), 0);
        written = d + "/real/new.mon";
        QCOMPARE(::symlink("real/new.mon", target.c_str()), 0);
        break;
    case Setup::Fifo:
        QCOMPARE(::mkfifo(target.c_str(), 0666), 0);
        break;
    case Setup::SymlinkToFifo:
        QCOMPARE(::mkfifo((d + "/pipe").c_str(), 0666), 0);
        QCOMPARE(::symlink("pipe", target.c_str()), 0);
        break;
    case Setup::DeviceNode:
        if (::mknod(target.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("device nodes cannot be made here");
        break;
    case Setup::DevNull:
        target = "/dev/null";
        watched.push_back(target);
        break;
    case Setup::Socket: {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        QVERIFY(target.size() < sizeof address.sun_path);
        std::strcpy(address.sun_path, target.c_str());
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
        break;
    }
    case Setup::Folder:
        QCOMPARE(::mkdir(target.c_str(), 0755), 0);
        writeBytes(target + "/inside.txt", "inside");
        break;
    case Setup::ReadOnlyFolderFile:
        makeFile(target, 0644, saverUid, saverGid);
        break;
    case Setup::ReadOnlyFolderNew:
    case Setup::NewFileTakenMeanwhile:
        target = written = d + "/new.mon";
        break;
    case Setup::DefaultAcl: {
        // A file without ACL in a folder whose default ACL gives nobody every right.
        makeFile(target, 0640, saverUid, saverGid);
        QProcess setfacl;
        setfacl.start(QStringLiteral("setfacl"), {QStringLiteral("-d"), QStringLiteral("-m"), QStringLiteral("u:nobody:rwx"),
                                                  QString::fromStdString(d)});
        QVERIFY2(setfacl.waitForFinished() && setfacl.exitStatus() == QProcess::NormalExit && setfacl.exitCode() == 0,
                 "setfacl failed (scripts/install-deps.sh test installs it)");
        break;
    }
    case Setup::Leftovers:
        // A hard-linked file written in place, a single-linked one replaced, and files of
        // the user's named like the editor's own.
        target = written = d + "/linked.mon";
        makeFile(target, 0644, saverUid, saverGid);
        QCOMPARE(::link(target.c_str(), (d + "/other.mon").c_str()), 0);
        makeFile(d + "/old.mon", 0644, saverUid, saverGid);
        writeBytes(d + "/.zq-save-0123abcd", "the user's");
        writeBytes(d + "/linked.mon~0123456789abcdef", "the user's");
        {
            // A backup in every way the editor's, but its file holds other bytes of the same
            // size since: it may be the only copy of the old content.
            writeBytes(d + "/changed.mon", "new!");
            const std::string backup = d + "/changed.mon.old";
            writeBytes(backup, "old!");
            struct stat made {};
            QCOMPARE(::stat(backup.c_str(), &made), 0);
            const std::string named = d + "/changed.mon~" + platform::save::inodeTag(made.st_ino)
                                      + platform::save::tagOf(platform::save::hashBytes("neither"));
            QCOMPARE(::rename(backup.c_str(), named.c_str()), 0);
        }
        break;
    case Setup::OtherOwner:
        makeFile(target, 0664, 0, saverGid);
        break;
    case Setup::ForeignGroup:
        makeFile(target, 0640, saverUid, 0);
        break;
    case Setup::ReadOnlyFile:
        makeFile(target, 0444, saverUid, saverGid);
        break;
    case Setup::FullTmpfs:
    case Setup::FullTmpfsHardLink: {
        const std::string disk = d + "/disk";
        QCOMPARE(::mkdir(disk.c_str(), 0755), 0);
        if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=128k,mode=0755") != 0)
            QSKIP("mounting a tmpfs is not permitted here; the size limit cases stand for a full disk");
        cleanup.mountPoint = disk;
        target = written = disk + "/old.mon";
        makeFile(target, 0644, saverUid, saverGid);
        if (kind == Setup::FullTmpfsHardLink)
            QCOMPARE(::link(target.c_str(), (disk + "/other.mon").c_str()), 0);
        // Fill the disk to its last byte.
        const int fill = ::open((disk + "/fill").c_str(), O_WRONLY | O_CREAT, 0644);
        const std::string block(4096, 'f');
        while (::write(fill, block.data(), block.size()) > 0) {
        }
        ::close(fill);
        break;
    }
    }
    if (kind == Setup::ReadOnlyFolderFile || kind == Setup::ReadOnlyFolderNew) {
        QCOMPARE(::chmod(d.c_str(), 0555), 0);
        cleanup.lockedFolders.push_back(d);
    }

    const std::string bytes = crlf(newLines());
    const std::string key = "." + written.substr(d.size());
    const std::vector<std::string> setUp = namesIn(d);
    if (kind == Setup::Leftovers) {
        // Saves killed (SIGKILL) in the middle, each tried until it leaves a file behind:
        // one replacing old.mon, once it writes its temporary file, and one writing
        // linked.mon in place, once it writes the file itself.
        const auto killedSave = [&](const std::string& path, const std::string& written) {
            for (int attempt = 0; attempt < 20; ++attempt) {
                const std::size_t files = namesIn(d).size();
                FolderWatch watch(d);
                saveInChild(m_saver, As::Root, path, 0, bytes, [&](qint64 pid) {
                    if (watch.waitFor(IN_MODIFY, written))
                        ::kill(pid_t(pid), SIGKILL);
                });
                if (namesIn(d).size() > files)
                    return true;
            }
            return false;
        };
        QVERIFY(killedSave(d + "/old.mon", ".zq-save-"));
        QVERIFY(killedSave(target, "linked.mon"));
    }

    const Snapshot before = snapshot(d, watched);
    ChildRun run;
    const std::string otherProgram = "another program's file\r\n";
    bool taken = false;
    for (int attempt = 0; attempt < 20; ++attempt) {
        FolderWatch watch(d);
        std::function<void(qint64)> meanwhile;
        if (kind == Setup::NewFileTakenMeanwhile) {
            // Another program makes the file while the save writes its temporary one:
            // the save is stopped as soon as that appears, and goes on once the file is
            // there, unless it had been quicker.
            meanwhile = [&](qint64 pid) {
                if (!watch.waitFor(IN_CREATE, ".zq-save-"))
                    return;
                ::kill(pid_t(pid), SIGSTOP);
                const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
                if (fd >= 0) {
                    taken = ::write(fd, otherProgram.data(), otherProgram.size()) == ssize_t(otherProgram.size());
                    ::close(fd);
                }
                ::kill(pid_t(pid), SIGCONT);
            };
        }
        run = saveInChild(m_saver, As(as), target, limit, bytes, meanwhile);
        if (kind != Setup::NewFileTakenMeanwhile || taken)
            break;
        ::unlink(target.c_str());
    }
    const Snapshot after = snapshot(d, watched);

    QVERIFY2(run.finished, "the save blocked");
    if (Expect(expect) == Expect::Refused) {
        QVERIFY2(run.exitCode == kRefusedExit, run.error.constData());
        Snapshot expected = before;
        if (kind == Setup::NewFileTakenMeanwhile) {
            QVERIFY(taken);
            QVERIFY(after.count(key));
            QCOMPARE(after.at(key).content, otherProgram);
            expected[key] = after.at(key);
        }
        QCOMPARE(describe(after), describe(expected));
        return;
    }
    QVERIFY2(run.exitCode == 0, run.error.constData());

    // Only the content of the written file may differ, and its inode when replaced; the
    // files killed saves left are gone.
    QVERIFY(after.count(key));
    Snapshot expected = before;
    if (kind == Setup::Leftovers) {
        std::vector<std::string> left;
        for (const auto& [name, e] : before) {
            if (name.rfind('/') == 1 && std::find(setUp.begin(), setUp.end(), name.substr(2)) == setUp.end())
                left.push_back(name);
        }
        QCOMPARE(left.size(), std::size_t(2));  // a temporary file and a backup
        for (const std::string& name : left)
            expected.erase(name);
    }
    switch (Expect(expect)) {
    case Expect::Created:
        QVERIFY(!before.count(key));
        expected[key] = Entry{S_IFREG | (0666 & ~m_umask), saverUid, saverGid, after.at(key).ino, 1, 0, bytes, {}, {}};
        break;
    case Expect::Replaced:
        QVERIFY(after.at(key).ino != before.at(key).ino);
        expected[key].ino = after.at(key).ino;
        expected[key].content = bytes;
        break;
    case Expect::InPlace:
        for (auto& [name, e] : expected) {
            if (e.ino == before.at(key).ino && S_ISREG(e.mode))
                e.content = bytes;
        }
        break;
    case Expect::Refused:
        break;
    }
    QCOMPARE(describe(after), describe(expected));
    QCOMPARE(after.at(key).content, bytes);
}

void SafeSaveTest::saveThroughWindow_data()
{
    QTest::addColumn<bool>("hardLink");
    QTest::addColumn<qint64>("limit");

    QTest::newRow("hard link saved in place") << true << qint64(0);
    QTest::newRow("size limit: error box, old file kept") << false << kSizeLimit;
    QTest::newRow("size limit, hard link: error box, old content written back") << true << kSizeLimit;
}

// The save button with the memo pad's text: the same rules hold on the window's own path.
void SafeSaveTest::saveThroughWindow()
{
    QFETCH(bool, hardLink);
    QFETCH(qint64, limit);

    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("old.mon")).toStdString();
    const std::string other = folder.filePath(QStringLiteral("other.mon")).toStdString();
    const std::string old = oldContent(5000);
    writeBytes(path, old);
    if (hardLink)
        QCOMPARE(::link(path.c_str(), other.c_str()), 0);
    struct stat oldStatus {};
    QCOMPARE(::stat(path.c_str(), &oldStatus), 0);

    QProcess child;
    startWithDefaultSignals(child);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--window"), QString::fromStdString(path), QString::number(limit)});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, child.readAllStandardError().constData());
    const std::string errorTexts = child.readAllStandardOutput().toStdString();

    struct stat now {};
    QCOMPARE(::stat(path.c_str(), &now), 0);
    QCOMPARE(now.st_ino, oldStatus.st_ino);
    QStringList files{QStringLiteral("old.mon")};
    if (hardLink)
        files << QStringLiteral("other.mon");
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), files);
    if (limit > 0) {
        QCOMPARE(errorTexts, sj(u8"ﾌｧｲﾙ ") + path + sj(u8" を作成できません.") + '\n');
        QCOMPARE(readBytes(path), old);
    } else {
        QCOMPARE(errorTexts, std::string());
        QCOMPARE(now.st_nlink, nlink_t(2));
        QCOMPARE(readBytes(path), crlf(newLines()));
        QCOMPARE(readBytes(other), crlf(newLines()));
    }
}

// Why saving does not go through QSaveFile: at a file size limit (as on a full disk), Qt
// 6.4's QSaveFile reports the write whole and no error, and commit() puts the cut file in
// the old one's place and returns true. This program's save reports the failure and keeps
// the old file.
void SafeSaveTest::qSaveFileCommitsCutFile()
{
    QTemporaryDir folder;
    const QString viaQt = folder.filePath(QStringLiteral("qt.mon"));
    const QString own = folder.filePath(QStringLiteral("own.mon"));
    const std::string old = oldContent(5000);
    const std::string bytes = crlf(newLines());
    writeBytes(viaQt.toStdString(), old);
    writeBytes(own.toStdString(), old);

    bool limited = false, opened = false, committed = false;
    qint64 written = -1;
    QFileDevice::FileError beforeCommit = QFileDevice::NoError, afterCommit = QFileDevice::NoError;
    std::error_code error;
    {
        const SizeLimit limit(kSizeLimit);
        limited = limit.set();
        QSaveFile file(viaQt);
        opened = file.open(QIODevice::WriteOnly);
        written = file.write(bytes.data(), qint64(bytes.size()));
        beforeCommit = file.error();
        committed = file.commit();
        afterCommit = file.error();
        error = platform::saveFile(own, bytes);
    }
    QVERIFY(limited && opened);
    QCOMPARE(written, qint64(bytes.size()));
    QCOMPARE(beforeCommit, QFileDevice::NoError);
    QVERIFY(committed);
    QCOMPARE(afterCommit, QFileDevice::WriteError);  // known, yet committed
    QCOMPARE(readBytes(viaQt.toStdString()), bytes.substr(0, std::size_t(kSizeLimit)));

    QVERIFY2(error == std::errc::file_too_large, error.message().c_str());
    QCOMPARE(readBytes(own.toStdString()), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({QStringLiteral("own.mon"), QStringLiteral("qt.mon")}));
}

// The child's side of the window test: the programs' process setup, then the memo pad
// saved through the save button under a file size limit. Prints each error box's text on
// a line; any other outcome is its exit status.
int windowChild(int argc, char** argv)
{
    platform::setUpProcess();
    const std::string path = argv[2];
    const rlim_t limit = std::strtoull(argv[3], nullptr, 10);
    QApplication application(argc, argv);
    support::ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 2;
    form.RichEdit1->Clear();
    form.RichEdit1->AddLines(newLines());
    prompts.acceptSave(path, 1);
    if (limit > 0) {
        const rlimit size{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
            return 3;
    }
    QTest::mouseClick(form.Button6, Qt::LeftButton);
    if (form.RichEdit1->PlainText())
        return 4;
    if (!prompts.unexpected().empty())
        return 5;
    for (const std::string& text : prompts.errorTexts())
        std::cout << text << '\n';
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--save") == 0) {
        platform::setUpProcess();
        return saveChild(argv[2], argv[3]);
    }
    if (argc == 4 && std::strcmp(argv[1], "--window") == 0)
        return windowChild(argc, argv);
    QApplication application(argc, argv);
    SafeSaveTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SafeSaveTest.moc"
