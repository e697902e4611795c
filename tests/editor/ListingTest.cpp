// The listing of the target range in the memo pad (with and without blank lines), its
// save name and saving it as text, printing the memo pad into a PDF through the editor's
// print path, and the memo pad's font button.

#include "app/TForm1.h"
#include "app/WindowTexts.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/TestText.h"
#include "widgets/Button.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include <string>
#include <vector>

using support::ScriptedPrompts;
using support::TestFolder;
using support::sj;
using widgets::MessageAnswer;

namespace {

using Kind = ScriptedPrompts::Kind;
using Lines = std::vector<std::string>;

const QColor kLime(0x00, 0xFF, 0x00);
const QColor kOlive(0x80, 0x80, 0x00);

// The listing's marks, as the bytes they must be.
const std::string kIdeographicSpace = "\x81\x40";
const std::string kStar = "\x81\x99";         // ☆
const std::string kBlackSquare = "\x81\xA1";  // ■
const std::string kDiamond = "\x81\x9E";      // ◇
const std::string kBlackDiamond = "\x81\x9F"; // ◆
const std::string kBlackCircle = "\x81\x9C";  // ●
const std::string kGeta = "\x81\xAC";         // 〓
const std::string kBlackStar = "\x81\x9A";    // ★

std::string titleLine(const std::string& title, const std::string& genre)
{
    return kIdeographicSpace + kIdeographicSpace + sj(u8"タイトル") + kStar + kStar + title + kStar + kStar + kBlackSquare
           + kBlackSquare + kIdeographicSpace + sj(u8"ジャンル") + kDiamond + kDiamond + genre + kDiamond + kDiamond;
}

std::string entryLine(const std::string& number, const std::string& question, const std::string& answer,
                      const std::string& genre, const std::string& wrong)
{
    return number + " " + kBlackDiamond + question + kBlackCircle + kGeta + answer + kBlackSquare + genre + kBlackSquare
           + wrong;
}

// The entry of question `n` of the first genre of a bank made by numberedGenre(1, ...).
std::string bankEntry(int n, const std::string& genre)
{
    const std::string tag = "1-" + std::to_string(n);
    std::string wrong;
    for (int j = 1; j <= 4; ++j)
        wrong += kBlackStar + "W" + tag + "-" + std::to_string(j);
    return entryLine(std::to_string(n), "Q" + tag, "A" + tag, genre, wrong);
}

std::string crlfJoined(const Lines& lines)
{
    return support::crlfText(lines);
}

// Reads a bank of one genre of `count` questions and adds that genre to the question table.
QString loadBankGenre(app::TForm1& form, ScriptedPrompts& prompts, const TestFolder& folder, int count,
                      const std::string& genre)
{
    const QString bank = folder.write(QStringLiteral("bank.5TQ"), support::bankBytes({support::numberedGenre(1, count, genre)}));
    prompts.acceptOpen(TestFolder::bytesOf(bank), 1);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    bool canSelect = true;
    form.StringGrid1SelectCell(0, 1, &canSelect);
    return bank;
}

// Lists a mon file through the open dialog and adds its questions to the question table.
QString loadMonFile(app::TForm1& form, ScriptedPrompts& prompts, const TestFolder& folder,
                    const std::vector<std::pair<std::string, std::string>>& answerAndQuestion)
{
    const QString path = folder.write(QStringLiteral("quiz.mon"),
                                      support::monText(std::to_string(answerAndQuestion.size()), "Title", "Genre",
                                                       answerAndQuestion));
    prompts.acceptOpen(TestFolder::bytesOf(path), 2);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    bool canSelect = true;
    form.StringGrid1SelectCell(0, 1, &canSelect);
    return path;
}

std::vector<std::pair<std::string, std::string>> numberedItems(int count)
{
    std::vector<std::pair<std::string, std::string>> items;
    for (int n = 1; n <= count; ++n) {
        const std::string number = std::to_string(n);
        items.emplace_back("A" + number, "Q" + number);
    }
    return items;
}

struct ToolResult {
    bool ran = false;
    QString output;
};

ToolResult runTool(const QString& tool, const QStringList& arguments)
{
    ToolResult result;
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return result;
    result.ran = true;
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    return result;
}

// The value of one "Name:   value" line of pdfinfo's output.
QString pdfInfoField(const QString& info, const QString& name)
{
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(name), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(info);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

QTextCharFormat formatAt(const QTextDocument& document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);  // the format of the character before the cursor
    return cursor.charFormat();
}

} // namespace

class ListingTest : public QObject {
    Q_OBJECT

private slots:
    void invalidRangeRefuses_data();
    void invalidRangeRefuses();
    void listingLines_data();
    void listingLines();
    void emptyTitleAndGenre();
    void clearedTableListsEmptyEntries();
    void nonNumericRangeStopsAfterTitle_data();
    void nonNumericRangeStopsAfterTitle();
    void printing_data();
    void printing();
    void fontChoiceAppliesToSelection_data();
    void fontChoiceAppliesToSelection();
    void fontPresetIsBaseFont();
    void cancelledFontChangesNothing();
};

void ListingTest::invalidRangeRefuses_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("questions");  // 0: a fresh window

    QTest::newRow("listing, fresh window") << QStringLiteral("Button12") << 0;
    QTest::newRow("printing, fresh window") << QStringLiteral("Button11") << 0;
    QTest::newRow("listing, seven questions") << QStringLiteral("Button12") << 7;
    QTest::newRow("printing, seven questions") << QStringLiteral("Button11") << 7;
    QTest::newRow("listing, 301 questions") << QStringLiteral("Button12") << 301;
}

void ListingTest::invalidRangeRefuses()
{
    QFETCH(QString, button);
    QFETCH(int, questions);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (questions > 0) {
        loadMonFile(form, prompts, folder, numberedItems(questions));
        QVERIFY(form.Edit7->Color() != kLime);
    } else {
        QCOMPARE(form.Edit7->Color(), kOlive);
    }
    form.RichEdit1->Clear();
    form.RichEdit1->AddLines({"kept", "lines"});
    const std::string edit3 = form.Edit3->Text();
    const int filterIndex = form.SaveDialog1.filterIndex;
    prompts.clearRecords();

    QTest::mouseClick(button == QLatin1String("Button12") ? form.Button12 : form.Button11, Qt::LeftButton);

    const std::vector<ScriptedPrompts::Call>& calls = prompts.calls();
    QCOMPARE(int(calls.size()), 2);
    QCOMPARE(calls[0].kind, Kind::Beep);
    QCOMPARE(calls[1].kind, Kind::Message);
    QCOMPARE(calls[1].text, sj(u8"問題数が適正数でないため作動しません。作成対象No指定等して適正の問題数8～300にしてから実行して下さい"));
    QCOMPARE(calls[1].messageKind, widgets::MessageKind::Information);
    QCOMPARE(calls[1].buttons, widgets::MessageButtons::Ok);
    QCOMPARE(form.RichEdit1->Lines(), (Lines{"kept", "lines"}));
    QCOMPARE(form.Edit3->Text(), edit3);
    QCOMPARE(form.SaveDialog1.filterIndex, filterIndex);
    QVERIFY(prompts.unexpected().empty());
}

void ListingTest::listingLines_data()
{
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("blankLines");
    QTest::addColumn<int>("lineCount");

    QTest::newRow("8 questions, no blank lines") << 8 << 1 << 8 << false << 9;
    QTest::newRow("8 questions, blank lines") << 8 << 1 << 8 << true << 17;
    QTest::newRow("300 questions, no blank lines") << 300 << 1 << 300 << false << 301;
    QTest::newRow("300 questions, blank lines") << 300 << 1 << 300 << true << 601;
    QTest::newRow("range 3 to 10, blank lines") << 12 << 3 << 10 << true << 17;
    QTest::newRow("range 5 to 12, no blank lines") << 12 << 5 << 12 << false << 9;
}

void ListingTest::listingLines()
{
    QFETCH(int, questions);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(bool, blankLines);
    QFETCH(int, lineCount);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const std::string genre = "Genre";
    const QString bank = loadBankGenre(form, prompts, folder, questions, genre);
    form.Edit6->setText(std::to_string(first));
    form.Edit8->setText(std::to_string(last));
    QCOMPARE(form.Edit7->Color(), kLime);
    const std::string title = sj(u8"日本史");
    const std::string genreField = sj(u8"歴史・文化");
    form.Edit4->setText(title);
    form.Edit5->setText(genreField);
    form.state().InsertBlankLines = blankLines ? 0 : 1;  // the answer decides, not what was before
    prompts.clearRecords();

    prompts.answer(blankLines ? MessageAnswer::Yes : MessageAnswer::No);
    QTest::mouseClick(form.Button12, Qt::LeftButton);

    const std::vector<ScriptedPrompts::Call> messages = prompts.callsOf(Kind::Message);
    QCOMPARE(int(messages.size()), 1);
    QCOMPARE(messages[0].text, sj(u8"印刷後の用紙に訂正書込みが出来るように、空欄行を入れますか?"));
    QCOMPARE(messages[0].messageKind, widgets::MessageKind::Confirmation);
    QCOMPARE(messages[0].buttons, widgets::MessageButtons::YesNo);
    QCOMPARE(prompts.beeps(), 0);

    Lines expected{titleLine(title, genreField)};
    for (int n = first; n <= last; ++n) {
        if (blankLines)
            expected.emplace_back();
        expected.push_back(bankEntry(n, genre));
    }
    const Lines listing = form.RichEdit1->Lines();
    QCOMPARE(int(listing.size()), lineCount);
    QCOMPARE(listing, expected);
    QCOMPARE(listing.front().substr(0, 4), std::string("\x81\x40\x81\x40"));
    QCOMPARE(form.state().InsertBlankLines, blankLines ? 1 : 0);

    // The listing proposes a text file next to the file read.
    const std::string textName = TestFolder::bytesOf(folder.path(QStringLiteral("bank.TXT")));
    QCOMPARE(form.SaveDialog1.fileName, TestFolder::bytesOf(bank));
    QCOMPARE(form.Edit3->Text(), textName);
    QCOMPARE(form.SaveDialog1.filterIndex, 2);

    const QString saved = folder.path(QStringLiteral("saved.TXT"));
    prompts.acceptSave(TestFolder::bytesOf(saved), 2);
    QTest::mouseClick(form.Button6, Qt::LeftButton);
    const std::vector<ScriptedPrompts::Call> saves = prompts.callsOf(Kind::Save);
    QCOMPARE(int(saves.size()), 1);
    QCOMPARE(saves[0].fileName, textName);
    QCOMPARE(saves[0].filterIndex, 2);
    QCOMPARE(folder.read(QStringLiteral("saved.TXT")), crlfJoined(expected));
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void ListingTest::emptyTitleAndGenre()
{
    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadBankGenre(form, prompts, folder, 8, "G");
    form.Edit4->setText("");
    form.Edit5->setText("");

    prompts.answer(MessageAnswer::No);
    QTest::mouseClick(form.Button12, Qt::LeftButton);

    const Lines listing = form.RichEdit1->Lines();
    QCOMPARE(int(listing.size()), 9);
    QCOMPARE(listing.front(), sj(u8"　　タイトル☆☆☆☆■■　ジャンル◇◇◇◇"));
    QCOMPARE(listing.front(), titleLine("", ""));
    QVERIFY(prompts.unexpected().empty());
}

void ListingTest::clearedTableListsEmptyEntries()
{
    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadBankGenre(form, prompts, folder, 8, "G");
    QTest::mouseClick(form.Button4, Qt::LeftButton);
    QCOMPARE(form.StringGrid2->RowCount(), 2);
    QCOMPARE(form.Edit7->Color(), kLime);
    QCOMPARE(form.Edit6->Text(), std::string("1"));
    QCOMPARE(form.Edit8->Text(), std::string("8"));
    form.Edit4->setText("T");
    form.Edit5->setText("J");

    prompts.answer(MessageAnswer::No);
    QTest::mouseClick(form.Button12, Qt::LeftButton);

    Lines expected{titleLine("T", "J")};
    for (int n = 1; n <= 8; ++n)
        expected.push_back(" " + kBlackDiamond + kBlackCircle + kGeta + kBlackSquare + kBlackSquare);
    QCOMPARE(form.RichEdit1->Lines(), expected);
    QCOMPARE(expected.back(), sj(u8" ◆●〓■■"));
    QVERIFY(prompts.errorTexts().empty());
    QVERIFY(prompts.unexpected().empty());
}

void ListingTest::nonNumericRangeStopsAfterTitle_data()
{
    QTest::addColumn<bool>("startField");
    QTest::addColumn<QByteArray>("typed");

    QTest::newRow("start x") << true << QByteArray("x");
    QTest::newRow("start empty") << true << QByteArray("");
    QTest::newRow("end x") << false << QByteArray("x");
    QTest::newRow("start Japanese") << true << QByteArray::fromStdString(sj(u8"三"));
}

void ListingTest::nonNumericRangeStopsAfterTitle()
{
    QFETCH(bool, startField);
    QFETCH(QByteArray, typed);

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    loadBankGenre(form, prompts, folder, 10, "G");
    form.Edit4->setText("T");
    form.Edit5->setText("J");
    const std::string text = typed.toStdString();
    const std::string notAnInteger = "'" + text + "'" + sj(u8" は整数ではありません.");
    (startField ? form.Edit6 : form.Edit8)->setText(text);
    QCOMPARE(prompts.errorTexts(), Lines{notAnInteger});  // from the field's own change handler
    QCOMPARE(form.Edit7->Color(), kLime);  // the failed recount left the colour
    prompts.clearRecords();

    prompts.answer(MessageAnswer::Yes);
    QTest::mouseClick(form.Button12, Qt::LeftButton);

    QCOMPARE(form.RichEdit1->Lines(), Lines{titleLine("T", "J")});
    QCOMPARE(prompts.errorTexts(), Lines{notAnInteger});
    QCOMPARE(form.state().InsertBlankLines, 1);
    QCOMPARE(form.SaveDialog1.filterIndex, 2);
    QVERIFY(prompts.unexpected().empty());
}

namespace {
enum PrintCase { kConvertedMemo, kEmptyMemo, kCancelled, kJapaneseListing };
}

void ListingTest::printing_data()
{
    QTest::addColumn<int>("printCase");

    QTest::newRow("converted memo pad") << int(kConvertedMemo);
    QTest::newRow("listing with Japanese") << int(kJapaneseListing);
    QTest::newRow("empty memo pad") << int(kEmptyMemo);
    QTest::newRow("cancelled") << int(kCancelled);
}

void ListingTest::printing()
{
    QFETCH(int, printCase);

    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdfinfo.isEmpty() || pdftotext.isEmpty())
        QSKIP("pdfinfo and pdftotext (poppler-utils) are needed");

    TestFolder folder;
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    std::vector<std::pair<std::string, std::string>> items = numberedItems(9);
    items[2] = {sj(u8"東京"), sj(u8"日本の首都は？")};
    loadMonFile(form, prompts, folder, items);
    QCOMPARE(form.Edit7->Color(), kLime);

    switch (printCase) {
    case kConvertedMemo:
    case kCancelled:
        QTest::mouseClick(form.Button5, Qt::LeftButton);
        QVERIFY(form.RichEdit1->Line(0).starts_with("9,"));
        break;
    case kJapaneseListing:
        form.Edit4->setText(sj(u8"地理"));
        prompts.answer(MessageAnswer::No);
        QTest::mouseClick(form.Button12, Qt::LeftButton);
        break;
    case kEmptyMemo:
        form.RichEdit1->Clear();
        break;
    }
    const Lines memo = form.RichEdit1->Lines();
    prompts.clearRecords();

    const QString pdf = folder.path(QStringLiteral("printed.pdf"));
    if (printCase == kCancelled)
        prompts.cancelPrint();
    else if (printCase == kConvertedMemo)
        prompts.acceptPrint(pdf, QPageLayout::Landscape);
    else
        prompts.acceptPrint(pdf);
    QTest::mouseClick(form.Button11, Qt::LeftButton);

    QCOMPARE(int(prompts.callsOf(Kind::Print).size()), 1);
    QCOMPARE(int(prompts.calls().size()), 1);
    QCOMPARE(prompts.pending(), std::size_t(0));
    // Printing leaves the memo pad as it was.
    QCOMPARE(form.RichEdit1->Lines(), memo);
    if (printCase == kCancelled) {
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    QVERIFY(QFile::exists(pdf));

    const ToolResult info = runTool(pdfinfo, {pdf});
    QVERIFY2(info.ran, "pdfinfo failed");
    QCOMPARE(pdfInfoField(info.output, QStringLiteral("Title")), QStringLiteral(u"返済計算"));
    const int pages = pdfInfoField(info.output, QStringLiteral("Pages")).toInt();
    if (printCase == kEmptyMemo) {
        QCOMPARE(pages, 1);
        return;
    }
    QVERIFY(pages >= 1);

    const ToolResult text = runTool(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY2(text.ran, "pdftotext failed");
    // The text extraction renders the ideographic space as a blank; blanks are compared
    // collapsed.
    QStringList printedLines;
    for (const QString& line : text.output.split(QLatin1Char('\n')))
        printedLines.append(line.simplified());
    const QString printed = printedLines.join(QLatin1Char('\n'));
    QVERIFY(!memo.empty());
    for (const std::string& line : memo) {
        const QString shown = sjis::toUnicode(line).simplified();
        QVERIFY2(printed.contains(shown), qPrintable(QStringLiteral("missing in the PDF: ") + shown + "\n" + printed));
    }
    if (printCase == kConvertedMemo) {
        QVERIFY(printed.contains(QStringLiteral("15,\"")));
        QVERIFY(printed.contains(QStringLiteral(u"15,\"東京\",\"日本の首都は？\"")));
        // The printer and the landscape paper chosen stay the current printer for the run.
        const QString again = folder.path(QStringLiteral("again.pdf"));
        prompts.acceptPrint(again);
        QTest::mouseClick(form.Button11, Qt::LeftButton);
        const std::vector<ScriptedPrompts::Call> shown = prompts.callsOf(Kind::Print);
        QCOMPARE(int(shown.size()), 2);
        QCOMPARE(shown[0].orientation, QPageLayout::Portrait);
        QCOMPARE(shown[1].printer, shown[0].printer);
        QCOMPARE(shown[1].orientation, QPageLayout::Landscape);
        const QString size = pdfInfoField(runTool(pdfinfo, {again}).output, QStringLiteral("Page size"));
        const QStringList sides = size.split(QLatin1Char(' '));
        QVERIFY2(sides.size() > 2 && sides[0].toDouble() > sides[2].toDouble(), qPrintable(size));
    } else {
        QVERIFY(printed.contains(QStringLiteral(u"タイトル☆☆地理☆☆■■ ジャンル◇◇")));
        QVERIFY(printed.contains(QStringLiteral(u"3 ◆日本の首都は？●〓東京■Genre■")));
    }
}

void ListingTest::fontChoiceAppliesToSelection_data()
{
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionEnd");  // equal to the start: no selection

    QTest::newRow("whole text") << 0 << -1;
    QTest::newRow("part of the first line") << 2 << 5;
    QTest::newRow("across lines") << 4 << 9;
    QTest::newRow("nothing selected") << 3 << 3;
}

void ListingTest::fontChoiceAppliesToSelection()
{
    QFETCH(int, selectionStart);
    QFETCH(int, selectionEnd);

    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.RichEdit1->Clear(); // the fresh memo pad's one empty line
    form.RichEdit1->AddLines({"abcdef", "ghijkl"});
    QTextDocument& document = *form.RichEdit1->document();
    const int characters = document.characterCount() - 1;  // without the final paragraph mark
    if (selectionEnd < 0)
        selectionEnd = characters;

    QTextCursor selection(&document);
    selection.setPosition(selectionStart);
    selection.setPosition(selectionEnd, QTextCursor::KeepAnchor);
    form.RichEdit1->setTextCursor(selection);
    std::vector<QTextCharFormat> before;
    for (int i = 0; i < characters; ++i)
        before.push_back(formatAt(document, i));

    const QString family = QStringLiteral("IPAMincho");
    widgets::ChosenFont chosen;
    chosen.family = family;
    chosen.color = QColor(255, 0, 0);
    chosen.bold = true;
    chosen.pointSize = 20;
    prompts.acceptFont(chosen);
    QTest::mouseClick(form.Button8, Qt::LeftButton);
    QCOMPARE(int(prompts.callsOf(Kind::Font).size()), 1);

    for (int i = 0; i < characters; ++i) {
        const QTextCharFormat format = formatAt(document, i);
        const bool paragraphMark = document.characterAt(i) == QChar::ParagraphSeparator;
        if (i >= selectionStart && i < selectionEnd && !paragraphMark) {
            QVERIFY2(format.fontFamilies().toStringList().contains(family), qPrintable(QString::number(i)));
            QCOMPARE(format.foreground().color(), QColor(255, 0, 0));
            QCOMPARE(format.fontWeight(), int(QFont::Bold));
            QCOMPARE(format.fontPointSize(), 20.0);
            QVERIFY(!format.fontItalic());
        } else if (!paragraphMark) {
            QVERIFY2(format == before[std::size_t(i)], qPrintable(QString::number(i)));
        }
    }
    QCOMPARE(form.RichEdit1->Lines(), (Lines{"abcdef", "ghijkl"}));

    if (selectionStart == selectionEnd) {
        // Without a selection the choice is for the text typed next at the caret.
        QTextCursor caret = form.RichEdit1->textCursor();
        QCOMPARE(caret.position(), selectionStart);
        QTest::keyClicks(form.RichEdit1->viewport(), "Z");
        QCOMPARE(form.RichEdit1->Line(0), std::string("abcZdef"));
        const QTextCharFormat typed = formatAt(document, selectionStart);
        QVERIFY(typed.fontFamilies().toStringList().contains(family));
        QCOMPARE(typed.foreground().color(), QColor(255, 0, 0));
        QCOMPARE(typed.fontPointSize(), 20.0);
        QVERIFY(formatAt(document, selectionStart + 1) == before[std::size_t(selectionStart)]);
    }
    QVERIFY(prompts.unexpected().empty());
}

void ListingTest::fontPresetIsBaseFont()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.RichEdit1->AddLines({"first line", "second line"});
    form.RichEdit1->selectAll();
    const QFont base = form.RichEdit1->baseFont();

    widgets::ChosenFont large;
    large.family = QStringLiteral("IPAGothic");
    large.color = QColor(0, 0, 255);
    large.italic = true;
    large.pointSize = 31;
    prompts.acceptFont(large);
    QTest::mouseClick(form.Button8, Qt::LeftButton);
    QCOMPARE(formatAt(*form.RichEdit1->document(), 0).fontPointSize(), 31.0);

    prompts.cancelFont();
    QTest::mouseClick(form.Button8, Qt::LeftButton);

    const std::vector<ScriptedPrompts::Call> fonts = prompts.callsOf(Kind::Font);
    QCOMPARE(int(fonts.size()), 2);
    for (const ScriptedPrompts::Call& call : fonts) {
        QCOMPARE(call.font, form.RichEdit1->baseFont());
        QCOMPARE(call.font, base);
        QCOMPARE(call.color, form.RichEdit1->palette().color(QPalette::Text));
    }
    QVERIFY(prompts.unexpected().empty());
}

void ListingTest::cancelledFontChangesNothing()
{
    ScriptedPrompts prompts;
    app::TForm1 form(&prompts);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.RichEdit1->Clear(); // the fresh memo pad's one empty line
    form.RichEdit1->AddLines({"abc", "def"});
    form.RichEdit1->selectAll();
    QTextDocument& document = *form.RichEdit1->document();
    const QString html = document.toHtml();
    const QTextCharFormat caret = form.RichEdit1->currentCharFormat();

    prompts.cancelFont();
    QTest::mouseClick(form.Button8, Qt::LeftButton);

    QCOMPARE(int(prompts.callsOf(Kind::Font).size()), 1);
    QCOMPARE(document.toHtml(), html);
    QVERIFY(form.RichEdit1->currentCharFormat() == caret);
    QCOMPARE(form.RichEdit1->Lines(), (Lines{"abc", "def"}));
    QVERIFY(prompts.unexpected().empty());
}

QTEST_MAIN(ListingTest)
#include "ListingTest.moc"
