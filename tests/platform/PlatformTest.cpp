// The platform layer where it touches the file system: the bank's read-only file with its
// share rule, and the drives of the file browser; and the pages a genre's records are read
// into, made ready on a thread of their own.

#include "platform/Drives.h"
#include "platform/Pages.h"
#include "platform/PathRules.h"
#include "platform/ReadOnlyFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstring>

class PlatformTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readAt_data();
    void readAt();
    void sharing();
    void drives();
    void bulkPages();

private:
    QTemporaryDir m_dir;
    QString m_path;
    QByteArray m_content;
};

void PlatformTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (int i = 0; i < 1000; ++i)
        m_content += char(i * 7 + i / 256);
    m_path = m_dir.filePath(QStringLiteral("バンク.5TQ"));
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(m_content), qint64(m_content.size()));
}

void PlatformTest::readAt_data()
{
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("expected");
    QTest::newRow("start") << qint64(0) << 16 << 16;
    QTest::newRow("middle") << qint64(517) << 256 << 256;
    QTest::newRow("over the end") << qint64(990) << 256 << 10;
    QTest::newRow("at the end") << qint64(1000) << 16 << 0;
    QTest::newRow("far beyond") << qint64(1) << 0 << 0;
    QTest::newRow("beyond 4 GiB") << (qint64(1) << 32) + 5 << 16 << 0;
}

// Reads name their offset, in any order, and stop where the file ends.
void PlatformTest::readAt()
{
    QFETCH(qint64, offset);
    QFETCH(int, size);
    QFETCH(int, expected);
    const std::unique_ptr<platform::ReadOnlyFile> file = platform::ReadOnlyFile::open(m_path);
    QVERIFY(file);
    QCOMPARE(file->size(), qint64(m_content.size()));
    QByteArray buffer(size + 1, '\xEE');
    QCOMPARE(file->read(offset, buffer.data(), size_t(size)), qint64(expected));
    QCOMPARE(buffer.left(expected), m_content.mid(offset, expected));
    QCOMPARE(buffer.at(size), '\xEE');
    // A read before it does not disturb the next one.
    char first = 0;
    QCOMPARE(file->read(3, &first, 1), qint64(1));
    QCOMPARE(first, m_content.at(3));
}

// While the file is open others may read it; writing is refused where the system keeps
// share modes (Windows). Missing files and directories do not open.
void PlatformTest::sharing()
{
    {
        const std::unique_ptr<platform::ReadOnlyFile> bank = platform::ReadOnlyFile::open(m_path);
        QVERIFY(bank);
        QFile reader(m_path);
        QVERIFY(reader.open(QIODevice::ReadOnly));
        QCOMPARE(reader.read(4), m_content.left(4));
        QFile writer(m_path);
        QCOMPARE(writer.open(QIODevice::ReadWrite), !platform::ReadOnlyFile::kDeniesWriters);
        writer.close();
        QCOMPARE(bank->size(), qint64(m_content.size()));
    }
    QFile writer(m_path);
    QVERIFY(writer.open(QIODevice::ReadWrite));   // closed: writable again
    writer.close();

    QVERIFY(!platform::ReadOnlyFile::open(m_dir.filePath(QStringLiteral("missing.5TQ"))));
    QVERIFY(!platform::ReadOnlyFile::open(m_dir.path()));
}

// The drive list holds the drive of the current directory; on Windows a drive's own
// current directory is the process's current directory for the current drive.
void PlatformTest::drives()
{
    QStringList drives = platform::drives();
    const QString current = QDir::currentPath();
    const QString drive = platform::driveOf(current);
    QVERIFY2(drives.contains(drive), qPrintable(drive + " not in " + drives.join(' ')));
    QVERIFY(current.startsWith(drive) || drive == QDir::rootPath());
    QCOMPARE(drives.removeDuplicates(), qsizetype(0));
    if (platform::kPathSeparator == '\\') {
        QCOMPARE(drive.size(), 3);
        QCOMPARE(platform::driveCurrentDirectory(drive), current);
        QCOMPARE(platform::driveOf(QStringLiteral("c:\\x\\y")), QStringLiteral("C:/"));
    } else {
        QVERIFY(platform::driveCurrentDirectory(drive).isEmpty());
    }
}

void PlatformTest::bulkPages()
{
    // The pages made ready are taken whole, in part (the rest given back) or passed over when
    // too small or far too large, one allocation after another while the next are being made:
    // each is zeroed, writable to its end and given back with its own size.
    platform::prepareBulkPages(64 * platform::kPageSize);
    for (const std::size_t pages : {64, 40, 16, 1, 200, 150, 3, 200, 0, 64}) {
        // 0: none are coming any more (the pages made ready go back); the next is made fresh.
        if (pages == 0) {
            platform::prepareBulkPages(0);
            continue;
        }
        const std::size_t size = pages * platform::kPageSize;
        char* const base = platform::allocateBulkPages(size);
        QVERIFY(std::all_of(base, base + size, [](char c) { return c == 0; }));
        std::memset(base, 0x5A, size);
        platform::releasePages(base, size);
    }
}

QTEST_GUILESS_MAIN(PlatformTest)
#include "PlatformTest.moc"
