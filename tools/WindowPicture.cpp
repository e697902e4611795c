// Developer tool: renders the main window to a PNG, as it looks when the editor starts.
//   QT_QPA_PLATFORM=offscreen ./window_picture window.png [browser|help-hidden|dark|bank FILE.5TQ|converted FILE.5TQ
//                                                          |find FILE.5TQ TEXT|duplicates FILE.5TQ]
// The optional state shows the mon file browser, the help icon in place of the help panel,
// the window under a dark desktop palette, or a bank read into the genre table with its
// first genre added, or that genre's first 8 to 300 questions converted into the memo pad,
// or the find bar (Ctrl+F) after TEXT was typed into it, or on the first of the rows marked
// as duplicates (F8).
// QT_FONT_DPI=120 or QT_SCALE_FACTOR=2 show other screens.

#include "app/TForm1.h"
#include "app/find/FindBar.h"
#include "app/find/QuestionIndex.h"
#include "widgets/Prompts.h"
#include "codec/ShiftJis.h"
#include "widgets/LineEdit.h"
#include "widgets/grid/StringGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QLibraryInfo>
#include <QPalette>
#include <QPixmap>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Answers the one open dialog of the "bank" state with the given file.
class PictureDialogs final : public widgets::Prompts {
public:
    explicit PictureDialogs(std::string bank) : m_bank(std::move(bank)) {}
    bool execOpen(widgets::OpenDialog& dialog) override
    {
        dialog.fileName = m_bank;
        return !m_bank.empty();
    }
    bool execSave(widgets::SaveDialog&) override { return false; }
    bool execPrint(widgets::PrintDialog&, QPrinter&) override { return false; }
    bool execFont(widgets::FontDialog&) override { return false; }
    widgets::MessageAnswer messageBox(std::string_view, widgets::MessageKind, widgets::MessageButtons) override
    {
        return widgets::MessageAnswer::Ok;
    }
    void errorBox(std::string_view message) override { std::fprintf(stderr, "%s\n", sjis::toUnicode(message).toLocal8Bit().constData()); }
    void beep() override {}

private:
    std::string m_bank;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [browser|help-hidden|dark|bank FILE.5TQ|converted FILE.5TQ]\n", argv[0]);
        return 2;
    }
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    const QString state = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (state == QLatin1String("dark")) {
        // What a dark platform theme hands Qt: light text on dark surfaces.
        QPalette dark(QColor(0xE0, 0xE0, 0xE0), QColor(0x35, 0x35, 0x35));
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
        QApplication::setPalette(dark);
    }
    const bool withBank = state == QLatin1String("bank") || state == QLatin1String("converted")
                          || state == QLatin1String("find") || state == QLatin1String("duplicates");
    PictureDialogs dialogs(withBank && argc > 3 ? sjis::fromUnicode(QString::fromLocal8Bit(argv[3])).bytes : std::string());
    app::TForm1 window(&dialogs);
    window.show();
    if (state == QLatin1String("browser"))
        window.Button13Click();
    else if (state == QLatin1String("help-hidden"))
        window.Memo2DblClick();
    else if (withBank) {
        window.Button1Click();
        bool canSelect = true;
        window.StringGrid1SelectCell(2, 1, &canSelect);
        if (state == QLatin1String("converted")) {
            window.Edit6->setText("1");
            window.Edit8->setText(std::to_string(std::clamp(window.StringGrid2->RowCount() - 2, 8, 300)));
            window.Button5Click();
        }
        if (state == QLatin1String("find") || state == QLatin1String("duplicates")) {
            QApplication::setActiveWindow(&window);
            QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
            app::find::FindBar* bar = window.findBar();
            if (!bar) {
                std::fprintf(stderr, "Ctrl+F opened no find bar\n");
                return 1;
            }
            while (!window.questionIndex().findingReady())
                QApplication::processEvents();
            if (state == QLatin1String("find"))
                QTest::keyClicks(bar->field(), argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString());
            else
                QTest::keyClick(bar->field(), Qt::Key_F8);
        }
    }
    QApplication::processEvents();
    const QPixmap picture = window.grab();
    if (!picture.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
