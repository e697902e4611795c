// Developer tool: prints the memo pad through the editor's own print path to the default
// printer, with no dialog shown. Used by scripts/check-cups-printing.sh against a real CUPS
// queue.
//   QT_QPA_PLATFORM=offscreen ./print_check [FILE.mon]
// Without a file it writes a small mon file of its own. The file is read through the open
// button, its questions are added, converted and printed with the print button.
// Exit status: 0 when the job went to the printer, 1 when a box or error came up on the
// way or no default printer is set, 2 on bad arguments.

#include "app/TForm1.h"
#include "formats/MonLines.h"
#include "widgets/Button.h"
#include "widgets/Dispatch.h"
#include "widgets/MemoPad.h"
#include "widgets/Prompts.h"
#include "codec/ShiftJis.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <string>

namespace {

void report(const char* what, std::string_view text)
{
    std::fprintf(stderr, "print_check: %s: %s\n", what, sjis::toUnicode(text).toLocal8Bit().constData());
}

// Answers every dialog without showing one: the open dialog with the mon file, the print
// dialog with the default printer. Any box that comes up is remembered as a failure.
class PrintCheckPrompts final : public widgets::Prompts {
public:
    explicit PrintCheckPrompts(std::string monFile) : m_monFile(std::move(monFile)) {}

    bool execOpen(widgets::OpenDialog& dialog) override
    {
        dialog.fileName = m_monFile;
        dialog.filterIndex = 2;  // mon files
        return true;
    }
    bool execSave(widgets::SaveDialog&) override { return false; }
    bool execPrint(widgets::PrintDialog&, QPrinter& printer) override
    {
        const QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
        if (chosen.isNull()) {
            std::fprintf(stderr, "print_check: no default printer\n");
            m_failed = true;
            return false;
        }
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(chosen.printerName());
        m_printer = chosen.printerName();
        return true;
    }
    bool execFont(widgets::FontDialog&) override { return false; }
    widgets::MessageAnswer messageBox(std::string_view text, widgets::MessageKind, widgets::MessageButtons buttons) override
    {
        report("box", text);
        m_failed = true;
        return buttons == widgets::MessageButtons::YesNo ? widgets::MessageAnswer::Yes : widgets::MessageAnswer::Ok;
    }
    void errorBox(std::string_view message) override
    {
        report("error", message);
        m_failed = true;
    }
    void beep() override {}

    bool failed() const { return m_failed; }
    const QString& printer() const { return m_printer; }

private:
    std::string m_monFile;
    QString m_printer;
    bool m_failed = false;
};

// Ten questions, some of them Japanese, so the range is valid and the fonts are exercised.
std::string sampleMonText()
{
    std::vector<std::string> lines{formats::monHeaderLine("10", sjis::fromUtf8(u8"印刷確認")),
                                   formats::monGenreLine(sjis::fromUtf8(u8"地理"))};
    lines.push_back(formats::monQuestionLine(sjis::fromUtf8(u8"東京"), sjis::fromUtf8(u8"日本の首都は？")));
    lines.push_back(formats::monQuestionLine(sjis::fromUtf8(u8"富士山"), sjis::fromUtf8(u8"日本で一番高い山は？")));
    for (int n = 3; n <= 10; ++n) {
        const std::string number = std::to_string(n);
        lines.push_back(formats::monQuestionLine("A" + number, "Question " + number));
    }
    std::string text;
    for (const std::string& line : lines)
        text += line + std::string(formats::kCrLf);
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [FILE.mon]\n", argv[0]);
        return 2;
    }

    QTemporaryDir scratch;
    QString monFile;
    if (argc == 2) {
        monFile = QString::fromLocal8Bit(argv[1]);
    } else {
        if (!scratch.isValid())
            return 1;
        monFile = scratch.filePath(QStringLiteral("print-check.mon"));
        QFile file(monFile);
        const std::string text = sampleMonText();
        if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size())) {
            std::fprintf(stderr, "print_check: cannot write %s\n", monFile.toLocal8Bit().constData());
            return 1;
        }
    }

    PrintCheckPrompts prompts(sjis::fromUnicode(monFile).bytes);
    app::TForm1 window(&prompts);
    window.show();
    QApplication::processEvents();

    window.Button1->click();
    widgets::dispatch(prompts, [&] {
        bool canSelect = true;
        window.StringGrid1SelectCell(0, 1, &canSelect);
    });
    window.Button5->click();
    if (prompts.failed())
        return 1;
    std::fprintf(stderr, "print_check: memo pad holds %d lines\n", window.RichEdit1->Count());

    window.Button11->click();
    if (prompts.failed() || prompts.printer().isEmpty())
        return 1;
    std::printf("print_check: printed to %s\n", prompts.printer().toLocal8Bit().constData());
    return 0;
}
