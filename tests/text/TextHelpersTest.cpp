// Integer conversion of field texts, message formatting and save-name extensions.

#include "platform/PathRules.h"
#include "text/EditorError.h"
#include "text/FileNames.h"
#include "text/IntegerConversion.h"
#include "text/Messages.h"

#include <QTest>

namespace {

QByteArray qb(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }
std::string sb(const QByteArray& a) { return std::string(a.constData(), std::size_t(a.size())); }

// "'%s' は整数ではありません" with %s replaced, in Shift-JIS.
QByteArray notAnInteger(const QByteArray& field)
{
    return "'" + field + "' \x82\xcd\x90\xae\x90\x94\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
}

} // namespace

class TextHelpersTest final : public QObject {
    Q_OBJECT

private slots:
    void integers_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("1") << QByteArray("1") << true << 1;
        QTest::newRow("300") << QByteArray("300") << true << 300;
        QTest::newRow("+5") << QByteArray("+5") << true << 5;
        QTest::newRow("-12") << QByteArray("-12") << true << -12;
        QTest::newRow("leading blanks") << QByteArray("   7") << true << 7;
        QTest::newRow("leading zeros") << QByteArray("007") << true << 7;
        QTest::newRow("hex") << QByteArray("$1F") << true << 31;
        QTest::newRow("hex lower") << QByteArray("$ff") << true << 255;
        QTest::newRow("blank then hex") << QByteArray(" $10") << true << 16;
        QTest::newRow("max") << QByteArray("2147483647") << true << 2147483647;
        QTest::newRow("min") << QByteArray("-2147483648") << true << int(-2147483648LL);
        QTest::newRow("hex max") << QByteArray("$7FFFFFFF") << true << 2147483647;
        QTest::newRow("too large") << QByteArray("2147483648") << false << 0;
        QTest::newRow("too small") << QByteArray("-2147483649") << false << 0;
        QTest::newRow("huge") << QByteArray("99999999999999999999999") << false << 0;
        QTest::newRow("hex too large") << QByteArray("$80000000") << false << 0;
        QTest::newRow("empty") << QByteArray() << false << 0;
        QTest::newRow("blanks only") << QByteArray("  ") << false << 0;
        QTest::newRow("sign only") << QByteArray("-") << false << 0;
        QTest::newRow("dollar only") << QByteArray("$") << false << 0;
        QTest::newRow("signed hex") << QByteArray("-$10") << false << 0;
        QTest::newRow("letters") << QByteArray("abc") << false << 0;
        QTest::newRow("1a") << QByteArray("1a") << false << 0;
        QTest::newRow("trailing blank") << QByteArray("7 ") << false << 0;
        QTest::newRow("inner blank") << QByteArray("1 2") << false << 0;
        QTest::newRow("tab") << QByteArray("\t7") << false << 0;
        QTest::newRow("full-width digit") << QByteArray("\x82\x50") << false << 0;
        QTest::newRow("double sign") << QByteArray("+-1") << false << 0;
        QTest::newRow("0x form") << QByteArray("0x10") << false << 0;
    }
    void integers()
    {
        QFETCH(QByteArray, field);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const auto parsed = text::parseInt32(sb(field));
        QCOMPARE(parsed.has_value(), valid);
        if (valid) {
            QCOMPARE(*parsed, value);
            QCOMPARE(text::toInt32(sb(field)), value);
            return;
        }
        try {
            text::toInt32(sb(field));
            QFAIL("no error thrown");
        } catch (const text::EditorError& e) {
            QCOMPARE(qb(e.message()), notAnInteger(field));
        }
    }

    void formatting_data()
    {
        QTest::addColumn<QByteArray>("templ");
        QTest::addColumn<QList<QByteArray>>("args");
        QTest::addColumn<QByteArray>("result");
        QTest::newRow("one") << QByteArray("open %s now") << QList<QByteArray>{"a.mon"} << QByteArray("open a.mon now");
        QTest::newRow("arg holds %s") << QByteArray("F %s X") << QList<QByteArray>{"/tmp/%s%d%.mon"}
                                      << QByteArray("F /tmp/%s%d%.mon X");
        QTest::newRow("two in order") << QByteArray("c %s at %d") << QList<QByteArray>{"x", "12"} << QByteArray("c x at 12");
        QTest::newRow("missing arg left") << QByteArray("%s and %s") << QList<QByteArray>{"a"} << QByteArray("a and %s");
        QTest::newRow("lone percent") << QByteArray("100% %") << QList<QByteArray>{"a"} << QByteArray("100% %");
        QTest::newRow("empty arg") << QByteArray("'%s'") << QList<QByteArray>{""} << QByteArray("''");
    }
    void formatting()
    {
        QFETCH(QByteArray, templ);
        QFETCH(QList<QByteArray>, args);
        QFETCH(QByteArray, result);
        std::vector<std::string> owned;
        for (const auto& a : args)
            owned.push_back(sb(a));
        std::string out;
        if (owned.size() == 1)
            out = text::formatMessage(sb(templ), {owned[0]});
        else
            out = text::formatMessage(sb(templ), {owned[0], owned[1]});
        QCOMPARE(qb(out), result);
    }

    void fullStop_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("letter") << QByteArray("abc") << QByteArray("abc.");
        QTest::newRow("double-byte end") << QByteArray("\x82\xf1") << QByteArray("\x82\xf1.");
        QTest::newRow("full stop") << QByteArray("abc.") << QByteArray("abc.");
        QTest::newRow("space") << QByteArray("abc ") << QByteArray("abc ");
        QTest::newRow("comma") << QByteArray("abc,") << QByteArray("abc,");
        QTest::newRow("slash") << QByteArray("abc/") << QByteArray("abc/.");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void fullStop()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, shown);
        QCOMPARE(qb(text::withFullStop(sb(message))), shown);
    }

    void extension_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("result");
        QTest::newRow("5TQ") << QByteArray("/home/u/bank.5TQ") << QByteArray("/home/u/bank.mon");
        QTest::newRow("no dot") << QByteArray("/home/u/bank") << QByteArray("/home/u/bank.mon");
        QTest::newRow("dot in folder only") << QByteArray("/home/u.v/bank") << QByteArray("/home/u.v/bank.mon");
        QTest::newRow("last dot") << QByteArray("/a/b.c.d") << QByteArray("/a/b.c.mon");
        QTest::newRow("plain name") << QByteArray("x.txt") << QByteArray("x.mon");
        QTest::newRow("default name") << QByteArray("\x83\x66\x83\x74\x83\x48") << QByteArray("\x83\x66\x83\x74\x83\x48.mon");
        QTest::newRow("empty") << QByteArray() << QByteArray(".mon");
        QTest::newRow("trailing dot") << QByteArray("/a/b.") << QByteArray("/a/b.mon");
        // "\" and the drive's ":" separate only where the platform says so (Windows).
        const bool windows = platform::kPathSeparators.find('\\') != std::string_view::npos;
        QTest::newRow("backslash after a dotted folder")
            << QByteArray("C:\\u.v\\bank") << QByteArray(windows ? "C:\\u.v\\bank.mon" : "C:\\u.mon");
        QTest::newRow("drive and name") << QByteArray("a.b:bank") << QByteArray(windows ? "a.b:bank.mon" : "a.mon");
        // The 0x5C of "ソ" (83 5C) is the second byte of a character, not a separator.
        QTest::newRow("extension ending in a 0x5C trail byte")
            << QByteArray("C:\\q\\x.\x83\x5C") << QByteArray("C:\\q\\x.mon");
        QTest::newRow("folder ending in a 0x5C trail byte")
            << QByteArray("/q.\x83\x5C/bank") << QByteArray("/q.\x83\x5C/bank.mon");
    }
    void extension()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, result);
        QCOMPARE(qb(text::replaceExtension(sb(path), ".mon")), result);
    }
};

QTEST_APPLESS_MAIN(TextHelpersTest)
#include "TextHelpersTest.moc"
