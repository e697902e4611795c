// Damaged and hostile input through the real window: banks of odd sizes and bytes, mon
// files of every odd shape, and range fields holding what the integer conversion must
// refuse or accept. Each case ends with the window still usable.

#include "app/TForm1.h"
#include "formats/MonLimits.h"
#include "text/IntegerConversion.h"
#include "text/Messages.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
#include "support/WindowDriver.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/FileList.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "codec/ShiftJis.h"
#include "widgets/WidgetText.h"
#include "widgets/grid/StringGrid.h"

#include <QElapsedTimer>
#include <QListWidgetItem>
#include <QTableView>
#include <QtTest>

#include <string>

#include <sys/stat.h>

using support::ScriptedPrompts;
using support::TestFolder;
using support::bytes;

namespace {

const std::string kCannotOpen = support::sj(u8"ﾌｧｲﾙ %s は開けません");
const std::string kTooLarge =
    support::sj(u8"ﾌｧｲﾙ %s は大きすぎるため読み込めません。Zelqua形式の問題ファイルは %d バイトまでです");
const std::string kLineTooLong = support::sj(
    u8"ﾌｧｲﾙ %s には長すぎる行があるため読み込めません。1問は %d バイトまでです（問題文を閉じる\"が抜けていないか確かめて下さい）");

// A directory claiming 65,535 questions in every genre.
std::string greedyDirectory(std::size_t size)
{
    std::string bank(size, '\x41');
    for (int g = 0; g < 8 && g * 256 + 20 <= int(size); ++g) {
        bank[std::size_t(g * 256 + 18)] = '\xFF';
        bank[std::size_t(g * 256 + 19)] = '\xFF';
    }
    return bank;
}

} // namespace

class BadInputTest final : public QObject {
    Q_OBJECT

private slots:
    void banks_data()
    {
        QTest::addColumn<QByteArray>("bank");
        QTest::addColumn<int>("genre");
        QTest::addColumn<int>("rows");  // question rows after selecting the genre

        QTest::newRow("0 bytes") << QByteArray() << 1 << 0;
        QTest::newRow("100 bytes") << QByteArray(100, 'x') << 1 << 0;
        QTest::newRow("2,047 bytes") << QByteArray(2047, 'x') << 8 << 0;
        // 3 kB holds 2048 directory bytes and 4 records, the last one cut short.
        QTest::newRow("65,535 per genre in 3 kB") << QByteArray::fromStdString(greedyDirectory(3072)) << 1 << 4;
        QTest::newRow("65,535 per genre, genre 2 beyond the file")
            << QByteArray::fromStdString(greedyDirectory(3072)) << 2 << 0;
        QTest::newRow("every byte 0xFF") << QByteArray(2048 + 3 * 256, '\xFF') << 1 << 3;
    }

    void banks()
    {
        QFETCH(QByteArray, bank);
        QFETCH(int, genre);
        QFETCH(int, rows);
        TestFolder folder;
        const QString path = folder.write(QStringLiteral("bad.5TQ"), bytes(bank));
        ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        prompts.acceptOpen(TestFolder::bytesOf(path), 1);
        form.Button1Click();
        bool canSelect = true;
        QElapsedTimer timer;
        timer.start();
        form.StringGrid1SelectCell(2, genre, &canSelect);
        QVERIFY2(timer.elapsed() < 5000, "selecting a genre of a damaged bank took too long");
        QCOMPARE(form.StringGrid2->RowCount() - 2, rows);
        QVERIFY(prompts.errorTexts().empty());
        // The blank last row stays blank and the count follows the rows.
        for (int col = 0; col < 5; ++col)
            QCOMPARE(form.StringGrid2->Cells(col, form.StringGrid2->RowCount() - 1), std::string());
        QCOMPARE(form.Edit7->Text(), std::to_string(rows));
    }

    void invalidShiftJisSurvivesIntoCells()
    {
        // Names and texts that are no valid Shift-JIS reach the cells byte for byte.
        support::BankGenre genre;
        genre.name = "\x82\xFF\x80\xA0\xFD";
        genre.questions.push_back({"\x81\x7F\xEF", "\xFC", {"\x82"}});
        TestFolder folder;
        const QString path = folder.write(QStringLiteral("odd.5TQ"), support::bankBytes({genre}));
        ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        prompts.acceptOpen(TestFolder::bytesOf(path), 1);
        form.Button1Click();
        QCOMPARE(form.StringGrid1->Cells(1, 1), genre.name);
        bool canSelect = true;
        form.StringGrid1SelectCell(2, 1, &canSelect);
        QCOMPARE(form.StringGrid2->Cells(1, 1), std::string("\x81\x7F\xEF"));
        QCOMPARE(form.StringGrid2->Cells(2, 1), std::string("\xFC"));
        QCOMPARE(form.StringGrid2->Cells(3, 1), genre.name);
        QCOMPARE(form.Edit4->Text(), genre.name);
    }

    void monFiles_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("warned");  // graphic-mode warning
        QTest::addColumn<QByteArray>("lastQuestion");

        QTest::newRow("empty") << QByteArray() << 0 << true << QByteArray();
        QTest::newRow("one line") << QByteArray("3,\"j42\",\"T\"\r\n") << 0 << true << QByteArray();
        QTest::newRow("line 2 missing, no break") << QByteArray("3,\"j42\",\"T\"") << 0 << true << QByteArray();
        QTest::newRow("LF only") << QByteArray("2,\"j42\",\"T\"\n0,\"\",\"G\"\n15,\"a\",\"q1\"\n15,\"b\",\"q2\"\n")
                                 << 2 << false << QByteArray("q2");
        QTest::newRow("last question unclosed")
            << QByteArray("1,\"j42\",\"T\"\r\n0,\"\",\"G\"\r\n15,\"a\",\"open\r\nstill") << 1 << false
            << QByteArray("open\r\nstill");
        QTest::newRow("empty lines among questions")
            << QByteArray("2,\"j42\",\"T\"\r\n0,\"\",\"G\"\r\n\r\n15,\"a\",\"q1\"\r\n\r\n\r\n15,\"b\",\"q2\"\r\n\r\n") << 2
            << false << QByteArray("q2");
        static constexpr char withNul[] = "1,\"j42\",\"T\0T\"\r\n0,\"\",\"G\"\r\n15,\"a\0\",\"q\0q\"\r\n";
        QTest::newRow("NUL bytes") << QByteArray(withNul, sizeof withNul - 1) << 1 << false << QByteArray("q\0q", 3);
        QTest::newRow("graphic mode") << QByteArray("1,\"j42\",\"T\"\r\n1,\"\",\"G\"\r\n15,\"a\",\"q\"\r\n") << 1 << true
                                      << QByteArray("q");
        // The longest question line taken: 16 KiB with its seconds, answer and quotes.
        const QByteArray longest(int(formats::kMaxMonLineBytes) - 10, 'x');
        QTest::newRow("the longest line taken") << "1,\"j42\",\"T\"\r\n0,\"\",\"G\"\r\n15,\"a\",\"" + longest + "\"\r\n"
                                                << 1 << false << longest;
    }

    void monFiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, rows);
        QFETCH(bool, warned);
        QFETCH(QByteArray, lastQuestion);
        TestFolder folder;
        const QString path = folder.write(QStringLiteral("odd.mon"), bytes(text));
        ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        prompts.acceptOpen(TestFolder::bytesOf(path), 2);
        form.Button1Click();
        QCOMPARE(form.state().MonFileCount, 1);
        QCOMPARE(prompts.callsOf(ScriptedPrompts::Kind::Message).size(), std::size_t(warned ? 1 : 0));
        bool canSelect = true;
        form.StringGrid1SelectCell(0, 1, &canSelect);
        QVERIFY(prompts.errorTexts().empty());
        QCOMPARE(form.StringGrid2->RowCount() - 2, rows);
        if (rows > 0)
            QCOMPARE(form.StringGrid2->Cells(1, rows), bytes(lastQuestion));
    }

    // A file no collection could be is refused with a message before anything changes,
    // however it is reached: the open dialog, the browser, or a listed row chosen after
    // the file grew. A file that cannot be read at all (a FIFO, which would block) is the
    // usual "cannot open", after the count was raised.
    void refusedMonFiles_data()
    {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("kind");
        for (const char* road : {"open dialog", "browser", "listed row"}) {
            for (const char* kind : {"over 1 MiB", "1 GiB", "a line of 100 KiB", "an unclosed question", "FIFO"})
                QTest::addRow("%s, %s", road, kind) << QString::fromLatin1(road) << QString::fromLatin1(kind);
        }
    }

    void refusedMonFiles()
    {
        QFETCH(QString, road);
        QFETCH(QString, kind);
        const std::string header = "1,\"j42\",\"T\"\r\n0,\"\",\"G\"\r\n";
        TestFolder folder;
        const QString path = folder.write(QStringLiteral("x.mon"), header + "15,\"a\",\"q\"\r\n");
        const std::string pathBytes = TestFolder::bytesOf(path);
        const auto replaceFile = [&] {
            QFile::remove(path);
            std::string line = "15,\"a\",\"" + std::string(100, 'x') + "\"\r\n";
            if (kind == "over 1 MiB") {
                std::string text = header;
                while (text.size() <= formats::kMaxMonFileBytes)
                    text += line;
                folder.write(QStringLiteral("x.mon"), text);
            } else if (kind == "1 GiB") {
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30));  // sparse
            } else if (kind == "a line of 100 KiB") {
                folder.write(QStringLiteral("x.mon"), header + "15,\"a\",\"" + std::string(100 << 10, 'x') + "\"\r\n");
            } else if (kind == "an unclosed question") {
                std::string text = header + "15,\"a\",\"open\r\n";
                for (int i = 0; i < 200; ++i)
                    text += std::string(100, 'y') + "\r\n";
                folder.write(QStringLiteral("x.mon"), text);
            } else {
                QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            }
        };
        const bool unreadable = kind == "FIFO";
        const std::string message = unreadable ? kCannotOpen
                                  : kind == "over 1 MiB" || kind == "1 GiB" ? kTooLarge
                                                                            : kLineTooLong;

        ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.RichEdit1->Clear();
        form.RichEdit1->Add("kept");
        if (road == "listed row") {
            prompts.acceptOpen(pathBytes, 2);
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            QCOMPARE(form.state().MonFileCount, 1);
            form.RichEdit1->Clear();
            form.RichEdit1->Add("kept");
        }
        replaceFile();
        if (QTest::currentTestFailed())
            return;
        const int countBefore = form.state().MonFileCount;
        prompts.clearRecords();

        QElapsedTimer timer;
        timer.start();
        if (road == "open dialog") {
            prompts.acceptOpen(pathBytes, 2);
            QTest::mouseClick(form.Button1, Qt::LeftButton);
        } else if (road == "browser") {
            QTest::mouseClick(form.Button13, Qt::LeftButton);
            form.DirectoryListBox1->setDirectory(folder.path(QString()));
            if (unreadable) {  // the file list shows files and folders, never a FIFO
                QCOMPARE(form.FileListBox1->count(), 0);
                return;
            }
            QListWidgetItem* entry = form.FileListBox1->item(0);
            QVERIFY(entry && entry->text() == QStringLiteral("x.mon"));
            QTest::mouseClick(form.FileListBox1->viewport(), Qt::LeftButton, {},
                              form.FileListBox1->visualItemRect(entry).center());
        } else {
            QTest::mouseClick(form.StringGrid1->view()->viewport(), Qt::LeftButton, {},
                              form.StringGrid1->view()->visualRect(form.StringGrid1->view()->model()->index(0, 1)).center());
        }
        QVERIFY2(timer.elapsed() < 5000, "the refusal took too long");

        const std::string expected = text::withFullStop(text::formatMessage(
            message, {pathBytes, std::to_string(message == kTooLarge ? formats::kMaxMonFileBytes : formats::kMaxMonQuestionBytes)}));
        QCOMPARE(prompts.errorTexts(), std::vector<std::string>{expected});
        QCOMPARE(form.RichEdit1->Lines(), std::vector<std::string>{"kept"});
        QCOMPARE(form.StringGrid2->RowCount(), 2);
        // The browser's pick and the open dialog raise the count for a file they then
        // cannot read; a refused file changes nothing.
        const bool countRaised = unreadable && road != "listed row";
        QCOMPARE(form.state().MonFileCount, countBefore + (countRaised ? 1 : 0));
    }

    // As many questions as a file within the size limit holds: about 800 KB of them.
    void manyQuestions()
    {
        std::string text = "40000,\"j42\",\"T\"\r\n0,\"\",\"G\"\r\n";
        for (int n = 1; n <= 40000; ++n)
            text += "15,\"a" + std::to_string(n) + "\",\"q" + std::to_string(n) + "\"\r\n";
        TestFolder folder;
        const QString path = folder.write(QStringLiteral("many.mon"), text);
        ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        prompts.acceptOpen(TestFolder::bytesOf(path), 2);
        QElapsedTimer timer;
        timer.start();
        form.Button1Click();
        bool canSelect = true;
        form.StringGrid1SelectCell(0, 1, &canSelect);
        QVERIFY2(timer.elapsed() < 20000, "40,000 questions took too long");
        QCOMPARE(form.StringGrid2->RowCount(), 40002);
        QCOMPARE(form.StringGrid2->Cells(1, 40000), std::string("q40000"));
        QCOMPARE(form.Edit7->Text(), std::string("40000"));
        QCOMPARE(form.Edit7->Color(), QColor(255, 0, 0));
    }

    void rangeFieldTexts_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("error");  // empty: accepted
        QTest::addColumn<QByteArray>("count");  // count after the change, end being 20

        QTest::newRow("letters") << QByteArray("ab") << QByteArray("'ab' は整数ではありません.") << QByteArray("20");
        QTest::newRow("empty") << QByteArray("") << QByteArray("'' は整数ではありません.") << QByteArray("20");
        QTest::newRow("hex $1F") << QByteArray("$1F") << QByteArray() << QByteArray("-10");
        QTest::newRow("plus sign") << QByteArray("+5") << QByteArray() << QByteArray("16");
        QTest::newRow("leading blank") << QByteArray(" 7") << QByteArray() << QByteArray("14");
        QTest::newRow("beyond 32 bits") << QByteArray("2147483648") << QByteArray("'2147483648' は整数ではありません.")
                                        << QByteArray("20");
        QTest::newRow("trailing blank") << QByteArray("7 ") << QByteArray("'7 ' は整数ではありません.") << QByteArray("20");
        // The count 20 - (-2147483648) + 1 is written, then is no 32-bit number: red.
        QTest::newRow("most negative") << QByteArray("-2147483648") << QByteArray("'2147483669' は整数ではありません.")
                                       << QByteArray("2147483669");
    }

    void rangeFieldTexts()
    {
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, error);
        QFETCH(QByteArray, count);
        ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        // 20 question rows, so the end field keeps 20.
        std::vector<std::vector<std::string>> rows(20, std::vector<std::string>{"n", "q", "a"});
        form.StringGrid2->insertRows(1, rows);
        form.Edit8->setText("20");
        QCOMPARE(form.Edit7->Text(), std::string("20"));
        prompts.clearRecords();

        form.Edit6->setText(bytes(start));
        const std::vector<std::string> errors = prompts.errorTexts();
        if (error.isEmpty()) {
            QVERIFY(errors.empty());
        } else {
            QCOMPARE(errors.size(), std::size_t(1));
            QCOMPARE(errors.front(), sjis::fromUnicode(QString::fromUtf8(error)).bytes);
        }
        QCOMPARE(form.Edit7->Text(), bytes(count));
        QCOMPARE(form.Edit6->Text(), bytes(start));
        // Lime green stands for a count from 8 to 300 and nothing else.
        const std::optional<std::int32_t> shown = text::parseInt32(form.Edit7->Text());
        QCOMPARE(form.Edit7->Color() == QColor(0, 255, 0), shown && *shown >= 8 && *shown <= 300);
    }

    // A character Shift-JIS cannot hold (U+20BB7) typed or pasted into a field is never lost
    // without a word: range fields read it as "?" and give the conversion error; title and
    // genre refuse conversion and listing, naming the field, before the memo pad changes.
    void unencodableFieldText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("button");  // empty: the change handler alone
        QTest::addColumn<QByteArray>("error");
        QTest::addColumn<QByteArray>("warning");

        const QByteArray none;
        QTest::newRow("start field") << u"Edit6"_qs << QString() << QByteArray("'1?' は整数ではありません.") << none;
        QTest::newRow("end field") << u"Edit8"_qs << QString() << QByteArray("'1?' は整数ではありません.") << none;
        QTest::newRow("title, convert") << u"Edit4"_qs << u"Button5"_qs << none
                                        << QByteArray("ﾀｲﾄﾙの中に、Shift-JISで表せない文字「𠮷」(U+20BB7)があります。"
                                                      "Shift-JISで表せる文字に直してから実行して下さい");
        QTest::newRow("genre, convert") << u"Edit5"_qs << u"Button5"_qs << none
                                        << QByteArray("ｼﾞｬﾝﾙの中に、Shift-JISで表せない文字「𠮷」(U+20BB7)があります。"
                                                      "Shift-JISで表せる文字に直してから実行して下さい");
        QTest::newRow("question cell") << u"StringGrid2"_qs << QString() << none
                                       << QByteArray("入力した文の中に、Shift-JISで表せない文字「𠮷」(U+20BB7)があるため表に記録できません。"
                                                     "入力した文はそのまま残してあります。Shift-JISで表せる文字に直して下さい");
        QTest::newRow("genre, list") << u"Edit5"_qs << u"Button12"_qs << none
                                     << QByteArray("ｼﾞｬﾝﾙの中に、Shift-JISで表せない文字「𠮷」(U+20BB7)があります。"
                                                   "Shift-JISで表せる文字に直してから実行して下さい");
    }

    void unencodableFieldText()
    {
        QFETCH(QString, field);
        QFETCH(QString, button);
        QFETCH(QByteArray, error);
        QFETCH(QByteArray, warning);
        ScriptedPrompts prompts;
        app::TForm1 form(&prompts);
        form.show();
        form.StringGrid2->insertRows(1, std::vector<std::vector<std::string>>(10, {"n", "q", "a"}));
        form.Edit8->setText("10");
        QCOMPARE(form.Edit7->Color(), QColor(0, 255, 0));
        form.RichEdit1->Clear();
        form.RichEdit1->Add("kept");
        prompts.clearRecords();

        const QString typed = u"1"_qs + QString::fromUcs4(U"\U00020BB7", 1);
        auto* edit = support::control<QLineEdit>(form, field);
        if (field == u"StringGrid2") {
            // Typed into the cell editor and closed with Return: the editor comes back.
            form.StringGrid2DblClick();
            edit = form.StringGrid2->inplaceEditor();
            QVERIFY(edit);
            edit->setText(typed);
            QTest::keyClick(edit, Qt::Key_Return);
            QTRY_VERIFY(prompts.beeps() == 1 && form.StringGrid2->inplaceEditor());
            edit = form.StringGrid2->inplaceEditor();
            QCOMPARE(form.StringGrid2->Cells(1, 1), std::string("q"));
            QCOMPARE(edit->text(), typed);
        } else {
            QVERIFY(edit);
            edit->setText(typed);
        }
        if (!button.isEmpty())
            QTest::mouseClick(support::control(form, button), Qt::LeftButton);

        // As the boxes show them: the character itself where it stands.
        const auto expected = [](const QByteArray& utf8) {
            return utf8.isEmpty() ? QStringList{} : QStringList{QString::fromUtf8(utf8)};
        };
        QStringList errors;
        for (const std::string& shown : prompts.errorTexts())
            errors.append(widgets::messageText(shown));
        QCOMPARE(errors, expected(error));
        QStringList warnings;
        for (const ScriptedPrompts::Call& call : prompts.callsOf(ScriptedPrompts::Kind::Message)) {
            QCOMPARE(call.messageKind, widgets::MessageKind::Warning);
            warnings.append(widgets::messageText(call.text));
        }
        QCOMPARE(warnings, expected(warning));
        QCOMPARE(prompts.beeps(), warning.isEmpty() ? 0 : 1);
        // Nothing changed: the memo pad, the save name, the count; the field keeps the text.
        QCOMPARE(form.RichEdit1->Lines(), std::vector<std::string>{"kept"});
        QCOMPARE(form.Edit3->Text(), sjis::fromUtf8(u8"デフォルトファイル名"));
        QCOMPARE(form.Edit7->Text(), std::string("10"));
        QCOMPARE(edit->text().size(), 3);
    }
};

QTEST_MAIN(BadInputTest)
#include "BadInputTest.moc"
