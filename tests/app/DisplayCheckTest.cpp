// The display check before the application starts: which environments count as a display
// (a Wayland compositor only when its socket answers), and the one-line hint otherwise.

#include "app/DisplayCheck.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <optional>

#if defined(Q_OS_LINUX)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {

enum class Socket { None, Listening, Stale };

const char* const kVariables[] = {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "XDG_RUNTIME_DIR",
                                  "QT_QPA_PLATFORM", "PATH"};

} // namespace

class DisplayCheckTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char* name : kVariables)
            m_saved.append(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }

    void cleanupTestCase()
    {
        for (int i = 0; i < m_saved.size(); ++i)
            setOrUnset(kVariables[i], m_saved[i].value_or(QByteArray()));
    }

    void environments_data()
    {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("waylandDisplay"); // "@" stands for the socket's full path
        QTest::addColumn<bool>("runtimeDir");
        QTest::addColumn<int>("socket");
        QTest::addColumn<bool>("xvfbRunOnPath");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QByteArray>("hint");

        const int none = int(Socket::None), listening = int(Socket::Listening), stale = int(Socket::Stale);
        const QByteArray withXvfb = "under a virtual X server: xvfb-run zelqua-editor\n";
        const QByteArray withoutXvfb = "under a virtual X server: sudo apt-get install xvfb, then xvfb-run zelqua-editor\n";
        QTest::newRow("X display") << QByteArray(":7") << QByteArray() << true << none << true << QByteArray() << true << QByteArray();
        QTest::newRow("platform chosen") << QByteArray() << QByteArray() << false << none << true << QByteArray("offscreen") << true << QByteArray();
        QTest::newRow("X and Wayland: X first") << QByteArray(":7") << QByteArray("wl-test") << true << listening << true << QByteArray() << true << QByteArray();
        QTest::newRow("named socket answers") << QByteArray() << QByteArray("wl-test") << true << listening << true << QByteArray() << true << QByteArray();
        QTest::newRow("default wayland-0 answers") << QByteArray() << QByteArray() << true << listening << true << QByteArray() << true << QByteArray();
        QTest::newRow("socket path answers") << QByteArray() << QByteArray("@") << false << listening << true << QByteArray() << true << QByteArray();
        QTest::newRow("stale socket") << QByteArray() << QByteArray("wl-test") << true << stale << true << QByteArray() << false << withXvfb;
        QTest::newRow("no runtime dir for a name") << QByteArray() << QByteArray("wl-test") << false << listening << false << QByteArray() << false << withoutXvfb;
        QTest::newRow("nothing, xvfb-run there") << QByteArray() << QByteArray() << true << none << true << QByteArray() << false << withXvfb;
        QTest::newRow("nothing, no xvfb-run") << QByteArray() << QByteArray() << true << none << false << QByteArray() << false << withoutXvfb;
    }

    void environments()
    {
#if !defined(Q_OS_LINUX)
        QSKIP("X and Wayland displays are Linux's");
#else
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, waylandDisplay);
        QFETCH(bool, runtimeDir);
        QFETCH(int, socket);
        QFETCH(bool, xvfbRunOnPath);
        QFETCH(QByteArray, platform);
        QFETCH(bool, available);
        QFETCH(QByteArray, hint);

        QTemporaryDir runtime, bin;
        QVERIFY(runtime.isValid() && bin.isValid());
        const QByteArray socketName = waylandDisplay.isEmpty() || waylandDisplay == "@" ? "wayland-0" : waylandDisplay;
        const QByteArray socketPath = QFile::encodeName(runtime.filePath(QString::fromLatin1(socketName)));
        const int server = Socket(socket) == Socket::None ? -1 : listenOn(socketPath);
        if (Socket(socket) == Socket::Stale)
            ::close(server); // the file stays, nobody answers
        if (xvfbRunOnPath) {
            QFile program(bin.filePath(QStringLiteral("xvfb-run")));
            QVERIFY(program.open(QIODevice::WriteOnly));
            program.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }

        setOrUnset("DISPLAY", display);
        setOrUnset("WAYLAND_DISPLAY", waylandDisplay == "@" ? socketPath : waylandDisplay);
        setOrUnset("XDG_RUNTIME_DIR", runtimeDir ? QFile::encodeName(runtime.path()) : QByteArray());
        setOrUnset("QT_QPA_PLATFORM", platform);
        qputenv("PATH", "/nonexistent:" + QFile::encodeName(bin.path()));

        QTemporaryFile errors;
        QVERIFY(errors.open());
        std::fflush(stderr);
        const int savedStderr = ::dup(2);
        ::dup2(errors.handle(), 2);
        const bool result = app::displayAvailable();
        std::fflush(stderr);
        ::dup2(savedStderr, 2);
        ::close(savedStderr);
        if (Socket(socket) == Socket::Listening)
            ::close(server);
        errors.seek(0);
        const QByteArray printed = errors.readAll();

        QCOMPARE(result, available);
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), platform);
        if (hint.isEmpty())
            QCOMPARE(printed, QByteArray());
        else
            QVERIFY2(printed.startsWith("zelqua-editor: no display found;") && printed.endsWith(hint), printed.constData());
#endif
    }

private:
    static void setOrUnset(const char* name, const QByteArray& value)
    {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

#if defined(Q_OS_LINUX)
    static int listenOn(const QByteArray& path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()) + 1);
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (server < 0 || ::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
            || ::listen(server, 1) != 0)
            qFatal("cannot listen on %s", path.constData());
        return server;
    }
#endif

    QList<std::optional<QByteArray>> m_saved;
};

QTEST_GUILESS_MAIN(DisplayCheckTest)
#include "DisplayCheckTest.moc"
