// The mon reader's field functions, the writer's line texts, line splitting and joining,
// a round trip from writer to reader, and the limits of a file taken.

#include "formats/MonFields.h"
#include "formats/MonLimits.h"
#include "formats/MonLines.h"

#include <QTest>

using formats::ExtractField;
using formats::StripQuotes;

namespace {

QByteArray qb(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }
std::string sb(const QByteArray& a) { return std::string(a.constData(), std::size_t(a.size())); }

QList<QByteArray> qlist(const std::vector<std::string>& v)
{
    QList<QByteArray> out;
    for (const auto& s : v)
        out.append(qb(s));
    return out;
}

} // namespace

class MonFormatTest final : public QObject {
    Q_OBJECT

private slots:
    void extractField_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("plain 0") << QByteArray("15,\"A\",\"Q\"") << 0 << QByteArray("15");
        QTest::newRow("plain 1") << QByteArray("15,\"A\",\"Q\"") << 1 << QByteArray("\"A\"");
        QTest::newRow("plain 2") << QByteArray("15,\"A\",\"Q\"") << 2 << QByteArray("\"Q\"");
        QTest::newRow("beyond") << QByteArray("15,\"A\",\"Q\"") << 3 << QByteArray();
        QTest::newRow("negative") << QByteArray("15,\"A\",\"Q\"") << -1 << QByteArray();
        QTest::newRow("digit comma in quoted") << QByteArray("15,\"1,000\",\"Q\"") << 1 << QByteArray("\"1,000\"");
        QTest::newRow("quote comma splits 1") << QByteArray("15,\"say \"no\", ok\",\"Q\"") << 1 << QByteArray("\"say \"no\"");
        QTest::newRow("quote comma splits 2") << QByteArray("15,\"say \"no\", ok\",\"Q\"") << 2 << QByteArray(" ok\",\"Q\"");
        QTest::newRow("empty title") << QByteArray("12,\"j42\",\"\"") << 2 << QByteArray("\"\"");
        QTest::newRow("1,,2 field 0") << QByteArray("1,,2") << 0 << QByteArray("1");
        QTest::newRow("1,,2 field 1") << QByteArray("1,,2") << 1 << QByteArray(",2");
        QTest::newRow("1,,2 field 2") << QByteArray("1,,2") << 2 << QByteArray();
        // The field that starts at a leading comma begins with neither a quote nor a digit,
        // so no later comma can end it: it runs to the end of the line.
        QTest::newRow("leading comma") << QByteArray(",\"a\",\"b\"") << 0 << QByteArray(",\"a\",\"b\"");
        QTest::newRow("leading comma 1") << QByteArray(",\"a\",\"b\"") << 1 << QByteArray();
        QTest::newRow("leading comma then digits") << QByteArray(",1,2") << 0 << QByteArray(",1,2");
        QTest::newRow("unquoted text keeps commas") << QByteArray("0,abc,def") << 1 << QByteArray("abc,def");
        QTest::newRow("empty line") << QByteArray() << 0 << QByteArray();
        QTest::newRow("single comma") << QByteArray(",") << 0 << QByteArray(",");
        QTest::newRow("trailing separator") << QByteArray("\"a\",") << 1 << QByteArray();
        QTest::newRow("header count") << QByteArray("120,\"j42\",\"T\"") << 0 << QByteArray("120");
        QTest::newRow("genre line mode") << QByteArray("0,\"\",\"G\"") << 0 << QByteArray("0");
        QTest::newRow("genre line empty") << QByteArray("0,\"\",\"G\"") << 1 << QByteArray("\"\"");
        QTest::newRow("genre line genre") << QByteArray("0,\"\",\"G\"") << 2 << QByteArray("\"G\"");
        // Second bytes of double-byte characters never look like quotes or digits.
        QTest::newRow("double-byte") << QByteArray("15,\"\x82\xa0\",\"\x95\x5c\"") << 2 << QByteArray("\"\x95\x5c\"");
        QByteArray many;
        for (int i = 0; i < 40; ++i)
            many += "\"f" + QByteArray::number(i) + "\",";
        many += "\"last\"";
        QTest::newRow("40 fields, 30th") << many << 30 << QByteArray("\"f30\"");
        QTest::newRow("40 fields, last") << many << 40 << QByteArray("\"last\"");
    }
    void extractField()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, n);
        QFETCH(QByteArray, field);
        QCOMPARE(qb(ExtractField(sb(line), n)), field);
    }

    void stripQuotes_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("quoted") << QByteArray("\"A\"") << QByteArray("A");
        QTest::newRow("unquoted") << QByteArray("15") << QByteArray("15");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("single quote") << QByteArray("\"") << QByteArray();
        QTest::newRow("pair") << QByteArray("\"\"") << QByteArray();
        QTest::newRow("last byte dropped whatever") << QByteArray("\"say \"no") << QByteArray("say \"n");
        QTest::newRow("leading blank unchanged") << QByteArray(" ok\",\"Q\"") << QByteArray(" ok\",\"Q\"");
        QTest::newRow("only one pair") << QByteArray("\"\"x\"\"") << QByteArray("\"x\"");
    }
    void stripQuotes()
    {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, text);
        QCOMPARE(qb(StripQuotes(sb(field))), text);
    }

    void writtenLines()
    {
        QCOMPARE(qb(formats::monHeaderLine("12", "T")), QByteArray("12,\"j42\",\"T\""));
        QCOMPARE(qb(formats::monGenreLine("G")), QByteArray("0,\"\",\"G\""));
        QCOMPARE(qb(formats::monQuestionLine("A", "Q")), QByteArray("15,\"A\",\"Q\""));
        QCOMPARE(qb(formats::monHeaderLine("10", "")), QByteArray("10,\"j42\",\"\""));
        QCOMPARE(qb(formats::monGenreLine("")), QByteArray("0,\"\",\"\""));
        QCOMPARE(qb(formats::monQuestionLine("a\"b,c", "x")), QByteArray("15,\"a\"b,c\",\"x\""));
    }

    void splitLines_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::newRow("empty") << QByteArray() << QList<QByteArray>{};
        QTest::newRow("no break") << QByteArray("a") << QList<QByteArray>{"a"};
        QTest::newRow("crlf end") << QByteArray("a\r\nb\r\n") << QList<QByteArray>{"a", "b"};
        QTest::newRow("crlf no end") << QByteArray("a\r\nb") << QList<QByteArray>{"a", "b"};
        QTest::newRow("lf only") << QByteArray("a\nb\n") << QList<QByteArray>{"a", "b"};
        QTest::newRow("cr only") << QByteArray("a\rb") << QList<QByteArray>{"a", "b"};
        QTest::newRow("cr end") << QByteArray("a\r") << QList<QByteArray>{"a"};
        QTest::newRow("lf cr is two breaks") << QByteArray("a\n\rb") << QList<QByteArray>{"a", "", "b"};
        QTest::newRow("empty lines kept") << QByteArray("a\r\n\r\nb\r\n") << QList<QByteArray>{"a", "", "b"};
        QTest::newRow("only break") << QByteArray("\r\n") << QList<QByteArray>{""};
        QTest::newRow("nul kept") << QByteArray("a\0b", 3) << QList<QByteArray>{QByteArray("a\0b", 3)};
    }
    void splitLines()
    {
        QFETCH(QByteArray, text);
        QFETCH(QList<QByteArray>, lines);
        QCOMPARE(qlist(formats::splitLines(sb(text))), lines);
    }

    void questionLines_data()
    {
        QTest::addColumn<QList<QByteArray>>("physical");
        QTest::addColumn<QList<QByteArray>>("logical");
        QTest::newRow("none") << QList<QByteArray>{"h1", "h2"} << QList<QByteArray>{};
        QTest::newRow("fewer lines than header") << QList<QByteArray>{"h1"} << QList<QByteArray>{};
        QTest::newRow("two simple")
            << QList<QByteArray>{"h1", "h2", "15,\"A\",\"Q\"", "15,\"B\",\"R\""}
            << QList<QByteArray>{"15,\"A\",\"Q\"", "15,\"B\",\"R\""};
        QTest::newRow("multi-line")
            << QList<QByteArray>{"h1", "h2", "15,\"A\",\"X", "Y", "Z\"", "15,\"B\",\"R\""}
            << QList<QByteArray>{"15,\"A\",\"X\r\nY\r\nZ\"", "15,\"B\",\"R\""};
        QTest::newRow("empty line between questions skipped")
            << QList<QByteArray>{"h1", "h2", "15,\"A\",\"Q\"", "", "", "15,\"B\",\"R\""}
            << QList<QByteArray>{"15,\"A\",\"Q\"", "15,\"B\",\"R\""};
        QTest::newRow("empty line inside question kept")
            << QList<QByteArray>{"h1", "h2", "15,\"A\",\"X", "", "Y\""}
            << QList<QByteArray>{"15,\"A\",\"X\r\n\r\nY\""};
        QTest::newRow("open last question closed")
            << QList<QByteArray>{"h1", "h2", "15,\"A\",\"Q\"", "15,\"B\",\"R", "more"}
            << QList<QByteArray>{"15,\"A\",\"Q\"", "15,\"B\",\"R\r\nmore\""};
        QTest::newRow("open question ending in empty line")
            << QList<QByteArray>{"h1", "h2", "15,\"B\",\"R", ""}
            << QList<QByteArray>{"15,\"B\",\"R\r\n\""};
        QTest::newRow("quote at end of inner part stops joining")
            << QList<QByteArray>{"h1", "h2", "15,\"A\",\"say \"", "no\""}
            << QList<QByteArray>{"15,\"A\",\"say \"", "no\""};
    }
    void questionLines()
    {
        QFETCH(QList<QByteArray>, physical);
        QFETCH(QList<QByteArray>, logical);
        std::vector<std::string> lines;
        for (const auto& l : physical)
            lines.push_back(sb(l));
        QCOMPARE(qlist(formats::questionLines(lines, 2)), logical);
    }

    void joinReportsLastLine()
    {
        const std::vector<std::string> lines{"15,\"A\",\"X", "Y\"", "15,\"B\",\"R\""};
        std::size_t last = 99;
        QCOMPARE(qb(formats::joinQuestionLine(lines, 0, last)), QByteArray("15,\"A\",\"X\r\nY\""));
        QCOMPARE(last, std::size_t(1));
        QCOMPARE(qb(formats::joinQuestionLine(lines, 2, last)), QByteArray("15,\"B\",\"R\""));
        QCOMPARE(last, std::size_t(2));
    }

    // Lines written by the writer read back into the same title, genre, answers and
    // questions, multi-line questions and double-byte text included.
    void roundTrip()
    {
        const std::string title = "\x83\x5e\x83\x43\x83\x67\x83\x8b"; // タイトル
        const std::string genre = "\x97\xf0\x8e\x6a";                 // 歴史
        struct Q {
            std::string answer, question;
        };
        const std::vector<Q> questions{
            {"A", "Q1"},
            {"1,000", "How much?"},
            {"\x93\x9a", "X\r\nY\r\nZ"}, // 答, three physical lines
            {"", "no answer"},
            {"x", ""},
        };
        std::string file;
        const auto writeLine = [&file](const std::string& line) { file.append(line).append("\r\n"); };
        writeLine(formats::monHeaderLine(std::to_string(questions.size()), title));
        writeLine(formats::monGenreLine(genre));
        for (const auto& q : questions)
            writeLine(formats::monQuestionLine(q.answer, q.question));

        const auto lines = formats::splitLines(file);
        QCOMPARE(lines.size(), std::size_t(2 + questions.size() + 2));
        QCOMPARE(qb(ExtractField(lines[0], 0)), QByteArray("5"));
        QCOMPARE(qb(StripQuotes(ExtractField(lines[0], 2))), qb(title));
        QCOMPARE(qb(StripQuotes(ExtractField(lines[1], 2))), qb(genre));
        QCOMPARE(qb(StripQuotes(ExtractField(lines[1], 0))), QByteArray("0"));
        const auto logical = formats::questionLines(lines, 2);
        QCOMPARE(logical.size(), questions.size());
        for (std::size_t i = 0; i < questions.size(); ++i) {
            QCOMPARE(qb(StripQuotes(ExtractField(logical[i], 1))), qb(questions[i].answer));
            QCOMPARE(qb(StripQuotes(ExtractField(logical[i], 2))), qb(questions[i].question));
        }
    }

    // Each limit taken exactly, and one past it.
    void limits_data()
    {
        using formats::MonFit;
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("fit");
        const std::string header = "1,\"j42\",\"T\"\r\n0,\"\",\"G\"\r\n";
        // A question line of exactly `bytes` bytes, its CR LF not counted.
        const auto questionOf = [](std::size_t bytes) { return "15,\"a\",\"" + std::string(bytes - 9, 'x') + "\""; };
        const auto fileOf = [&](std::size_t bytes) {
            std::string text = header;
            while (text.size() + 1002 + 1002 <= bytes)
                text += questionOf(1000) + "\r\n";
            return text + questionOf(bytes - text.size() - 2) + "\r\n";
        };
        const auto linesOf = [&](std::size_t lines) {
            std::string text = header;
            for (std::size_t n = 2; n < lines; ++n)
                text += n % 2 ? "\r\n" : "15,\"a\",\"q\"\r\n";
            return text;
        };
        const auto tallQuestion = [&](std::size_t lines) {
            std::string text = header + "15,\"a\",\"q\r\n";
            for (std::size_t n = 2; n < lines; ++n)
                text += "y\r\n";
            return text + "end\"\r\n";
        };
        // Two lines joined: the first line, the CR LF kept between them, and the second.
        const auto joinedOf = [&](std::size_t bytes) {
            return header + "15,\"a\",\"" + std::string(1000, 'x') + "\r\n" + std::string(bytes - 1010 - 1, 'y') + "\"\r\n";
        };
        const std::size_t size = formats::kMaxMonFileBytes, lines = formats::kMaxMonLines;
        const std::size_t tall = formats::kMaxQuestionLines, line = formats::kMaxMonQuestionBytes;
        QTest::newRow("5 MiB") << qb(fileOf(size)) << int(MonFit::Fits);
        QTest::newRow("5 MiB and a byte") << qb(fileOf(size + 1)) << int(MonFit::TooLarge);
        QTest::newRow("60,302 lines") << qb(linesOf(lines)) << int(MonFit::Fits);
        QTest::newRow("60,303 lines") << qb(linesOf(lines + 1)) << int(MonFit::TooManyLines);
        QTest::newRow("a question of 200 lines") << qb(tallQuestion(tall)) << int(MonFit::Fits);
        QTest::newRow("a question of 201 lines") << qb(tallQuestion(tall + 1)) << int(MonFit::TooManyLines);
        QTest::newRow("a line of 16,392 bytes") << qb(header + questionOf(line) + "\r\n") << int(MonFit::Fits);
        QTest::newRow("a line of 16,393 bytes") << qb(header + questionOf(line + 1) + "\r\n") << int(MonFit::LineTooLong);
        QTest::newRow("two lines joined to 16,392 bytes") << qb(joinedOf(line)) << int(MonFit::Fits);
        QTest::newRow("two lines joined to 16,393 bytes") << qb(joinedOf(line + 1)) << int(MonFit::LineTooLong);
    }

    void limits()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, fit);
        QCOMPARE(int(formats::checkMonText(sb(text))), fit);
    }
};

QTEST_APPLESS_MAIN(MonFormatTest)
#include "MonFormatTest.moc"
