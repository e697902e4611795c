// Paths as the editor's Shift-JIS byte strings: a file picked in a dialog is opened again
// from its bytes, after the handlers' extension replacement too; on Windows even when its
// name holds characters Shift-JIS cannot, elsewhere such a path names no file. A name whose
// bytes read back as another one (U+301C is stored as U+FF5E) is found again by its bytes.

#include "platform/PathCharacters.h"
#include "platform/PathRules.h"
#include "support/TestText.h"
#include "text/EditorError.h"
#include "text/FileNames.h"
#include "widgets/MemoPad.h"
#include "widgets/WidgetText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class PathBytesTest final : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
};

void PathBytesTest::roundTrip_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("textName");   // the name after the ".TXT" replacement
    QTest::newRow("ASCII") << "q" << "plain.mon" << "plain.TXT";
    QTest::newRow("kana with 0x5C trail bytes") << "ソ表" << "表ソ.mon" << "表ソ.TXT";
    QTest::newRow("extension ends in a 0x5C trail byte") << "d" << "x.ソ" << "x.TXT";
    QTest::newRow("hangul") << "한" << "글.mon" << "글.TXT";
    QTest::newRow("emoji beside kana") << "絵" << "あ😀い.mon" << "あ😀い.TXT";
    QTest::newRow("accent and a dot in the folder") << "café.v" << "x" << "x.TXT";
    QTest::newRow("wave dash, read back as the fullwidth tilde") << "波" << "x\u301C.mon" << "x\u301C.TXT";
    QTest::newRow("raw-byte code point of a lead byte") << "r" << "\uF781A.mon" << "\uF781A.TXT";
}

void PathBytesTest::roundTrip()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, textName);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(folder));
    const QString path = QDir(dir.filePath(folder)).filePath(name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("15,A,Q\r\n");
    file.close();

    const std::string bytes = widgets::pathBytes(path);
    const sjis::EncodeResult encoded = sjis::fromUnicode(path);
    const bool exact = encoded.ok() && sjis::toUnicode(encoded.bytes) == path;
    const bool kept = encoded.ok() || platform::kPathsKeepEveryCharacter;
    QCOMPARE(bytes.find('?') == std::string::npos, encoded.ok() || platform::kPathsKeepEveryCharacter);
    QCOMPARE(widgets::pathRepresentable(path), kept);

    widgets::MemoPad memo;
    if (!kept) {
        QVERIFY_THROWS_EXCEPTION(text::EditorError, memo.LoadFromFile(bytes));
        return;
    }
    QCOMPARE(widgets::pathFromBytes(bytes), QDir::toNativeSeparators(path));
    memo.LoadFromFile(bytes);
    QCOMPARE(memo.Line(0), std::string("15,A,Q"));
    // The browser joins its directory and the name with a separator, so a file in a
    // drive's root ("C:\\") comes with the separator twice; it is still found.
    memo.Clear();
    memo.LoadFromFile(widgets::pathBytes(dir.filePath(folder)) + platform::kPathSeparator + platform::kPathSeparator
                      + widgets::pathBytes(name));
    QCOMPARE(memo.Line(0), std::string("15,A,Q"));

    // The save name the listing proposes stays in the same folder; a new name that no bytes
    // hold exactly is the one its bytes read as.
    const QString textPath = widgets::pathFromBytes(text::replaceExtension(bytes, ".TXT"));
    if (exact || platform::kPathsKeepEveryCharacter) {
        QCOMPARE(textPath, QDir::toNativeSeparators(QDir(dir.filePath(folder)).filePath(textName)));
    } else {
        QCOMPARE(widgets::pathBytes(textPath), text::replaceExtension(bytes, ".TXT"));
        QCOMPARE(QFileInfo(textPath).absolutePath(), QDir(dir.filePath(folder)).absolutePath());
    }
}

QTEST_MAIN(PathBytesTest)
#include "PathBytesTest.moc"
