#pragma once

// Prompts for tests: every dialog answers from a queue of scripted answers, in the order
// they were scripted, and every call is recorded. A dialog shown with no answer of its
// kind scripted fails the running test (and is recorded as unexpected) and is cancelled.
// Boxes with a single OK button need no script: they can only be answered with OK.

#include "widgets/Prompts.h"

#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QString>

#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace support {

class ScriptedPrompts final : public widgets::Prompts {
public:
    enum class Kind { Open, Save, Print, Font, Message, Error, Beep };

    // One call, with what the dialog was given when it was shown.
    struct Call {
        Kind kind = Kind::Beep;
        std::string text;                  // message and error boxes: the text, Shift-JIS
        widgets::MessageKind messageKind = widgets::MessageKind::Information;
        widgets::MessageButtons buttons = widgets::MessageButtons::Ok;
        std::string filter;                // open and save: the filter text
        int filterIndex = 0;               // open and save: the index preset
        std::string fileName;              // open and save: the name preset
        QFont font;                        // font: the preset font
        QColor color;                      // font: the preset colour
        const QPrinter* printer = nullptr; // print: the printer the dialog was given
        QPageLayout::Orientation orientation = QPageLayout::Portrait; // print: as preset
    };

    // Scripted answers.
    void acceptOpen(std::string fileName, int filterIndex);
    void cancelOpen();
    void acceptSave(std::string path, int filterIndex);
    void cancelSave();
    // Accepts and points the printer at a PDF file; `orientation`, when given, is the paper
    // orientation the user chose in the dialog.
    void acceptPrint(QString pdfPath, std::optional<QPageLayout::Orientation> orientation = std::nullopt);
    void cancelPrint();
    void acceptFont(widgets::ChosenFont font);
    void cancelFont();
    void answer(widgets::MessageAnswer answer);

    // Records.
    const std::vector<Call>& calls() const { return m_calls; }
    std::vector<Call> callsOf(Kind kind) const;
    std::vector<std::string> errorTexts() const;
    int beeps() const;
    const std::vector<std::string>& unexpected() const { return m_unexpected; }
    // Scripted answers not used yet.
    std::size_t pending() const { return m_answers.size(); }
    void clearRecords();

    bool execOpen(widgets::OpenDialog& dialog) override;
    bool execSave(widgets::SaveDialog& dialog) override;
    bool execPrint(widgets::PrintDialog& dialog, QPrinter& printer) override;
    bool execFont(widgets::FontDialog& dialog) override;
    widgets::MessageAnswer messageBox(std::string_view text, widgets::MessageKind kind,
                                      widgets::MessageButtons buttons) override;
    void errorBox(std::string_view message) override;
    void beep() override;

private:
    struct FileAnswer { Kind kind; bool accept; std::string path; int filterIndex; };
    struct PrintAnswer { bool accept; QString pdfPath; std::optional<QPageLayout::Orientation> orientation; };
    struct FontAnswer { bool accept; widgets::ChosenFont font; };
    struct MessageAnswerScript { widgets::MessageAnswer answer; };
    using Answer = std::variant<FileAnswer, PrintAnswer, FontAnswer, MessageAnswerScript>;

    template <typename T>
    bool takeAnswer(T& out, Kind kind, const char* what);
    const FileAnswer* nextFileAnswer(Kind kind);
    void reportUnexpected(const std::string& what);

    std::deque<Answer> m_answers;
    std::vector<Call> m_calls;
    std::vector<std::string> m_unexpected;
};

} // namespace support
