#include "support/ScriptedPrompts.h"

#include <QPrinter>
#include <QTest>

#include <algorithm>

namespace support {
namespace {

ScriptedPrompts::Call makeCall(ScriptedPrompts::Kind kind, std::string text = {})
{
    ScriptedPrompts::Call call;
    call.kind = kind;
    call.text = std::move(text);
    return call;
}

} // namespace

void ScriptedPrompts::acceptOpen(std::string fileName, int filterIndex)
{
    m_answers.push_back(FileAnswer{Kind::Open, true, std::move(fileName), filterIndex});
}

void ScriptedPrompts::cancelOpen()
{
    m_answers.push_back(FileAnswer{Kind::Open, false, {}, 0});
}

void ScriptedPrompts::acceptSave(std::string path, int filterIndex)
{
    m_answers.push_back(FileAnswer{Kind::Save, true, std::move(path), filterIndex});
}

void ScriptedPrompts::cancelSave()
{
    m_answers.push_back(FileAnswer{Kind::Save, false, {}, 0});
}

void ScriptedPrompts::acceptPrint(QString pdfPath, std::optional<QPageLayout::Orientation> orientation)
{
    m_answers.push_back(PrintAnswer{true, std::move(pdfPath), orientation});
}

void ScriptedPrompts::cancelPrint()
{
    m_answers.push_back(PrintAnswer{false, {}, std::nullopt});
}

void ScriptedPrompts::acceptFont(widgets::ChosenFont font)
{
    m_answers.push_back(FontAnswer{true, std::move(font)});
}

void ScriptedPrompts::cancelFont()
{
    m_answers.push_back(FontAnswer{false, {}});
}

void ScriptedPrompts::answer(widgets::MessageAnswer answer)
{
    m_answers.push_back(MessageAnswerScript{answer});
}

std::vector<ScriptedPrompts::Call> ScriptedPrompts::callsOf(Kind kind) const
{
    std::vector<Call> found;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(found),
                 [kind](const Call& call) { return call.kind == kind; });
    return found;
}

std::vector<std::string> ScriptedPrompts::errorTexts() const
{
    std::vector<std::string> texts;
    for (const Call& call : m_calls) {
        if (call.kind == Kind::Error)
            texts.push_back(call.text);
    }
    return texts;
}

int ScriptedPrompts::beeps() const
{
    return int(std::count_if(m_calls.begin(), m_calls.end(), [](const Call& call) { return call.kind == Kind::Beep; }));
}

void ScriptedPrompts::clearRecords()
{
    m_calls.clear();
    m_unexpected.clear();
}

void ScriptedPrompts::reportUnexpected(const std::string& what)
{
    m_unexpected.push_back(what);
    QTest::qFail(("dialog shown without a scripted answer: " + what).c_str(), __FILE__, __LINE__);
}

// The next answer must be of the dialog's kind: a script written for another order of
// dialogs is a failing test, not a silent mismatch.
template <typename T>
bool ScriptedPrompts::takeAnswer(T& out, Kind kind, const char* what)
{
    if (m_answers.empty() || !std::holds_alternative<T>(m_answers.front())) {
        reportUnexpected(what);
        return false;
    }
    out = std::get<T>(m_answers.front());
    if constexpr (std::is_same_v<T, FileAnswer>) {
        if (out.kind != kind) {
            reportUnexpected(what);
            return false;
        }
    }
    m_answers.pop_front();
    return true;
}

bool ScriptedPrompts::execOpen(widgets::OpenDialog& dialog)
{
    Call call = makeCall(Kind::Open);
    call.filter = dialog.filter;
    call.filterIndex = dialog.filterIndex;
    call.fileName = dialog.fileName;
    m_calls.push_back(call);
    FileAnswer answer;
    if (!takeAnswer(answer, Kind::Open, "open dialog") || !answer.accept)
        return false;
    dialog.fileName = answer.path;
    dialog.filterIndex = answer.filterIndex;
    return true;
}

bool ScriptedPrompts::execSave(widgets::SaveDialog& dialog)
{
    Call call = makeCall(Kind::Save);
    call.filter = dialog.filter;
    call.filterIndex = dialog.filterIndex;
    call.fileName = dialog.fileName;
    m_calls.push_back(call);
    FileAnswer answer;
    if (!takeAnswer(answer, Kind::Save, "save dialog") || !answer.accept)
        return false;
    dialog.fileName = answer.path;
    dialog.filterIndex = answer.filterIndex;
    return true;
}

bool ScriptedPrompts::execPrint(widgets::PrintDialog&, QPrinter& printer)
{
    Call call = makeCall(Kind::Print);
    call.printer = &printer;
    call.orientation = printer.pageLayout().orientation();
    m_calls.push_back(call);
    PrintAnswer answer;
    if (!takeAnswer(answer, Kind::Print, "print dialog") || !answer.accept)
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(answer.pdfPath);
    if (answer.orientation)
        printer.setPageOrientation(*answer.orientation);
    return true;
}

bool ScriptedPrompts::execFont(widgets::FontDialog& dialog)
{
    Call call = makeCall(Kind::Font);
    call.font = dialog.font;
    call.color = dialog.color;
    m_calls.push_back(call);
    FontAnswer answer;
    if (!takeAnswer(answer, Kind::Font, "font dialog") || !answer.accept)
        return false;
    dialog.chosen = answer.font;
    return true;
}

widgets::MessageAnswer ScriptedPrompts::messageBox(std::string_view text, widgets::MessageKind kind,
                                                   widgets::MessageButtons buttons)
{
    Call call = makeCall(Kind::Message, std::string(text));
    call.messageKind = kind;
    call.buttons = buttons;
    m_calls.push_back(call);
    if (buttons == widgets::MessageButtons::Ok)
        return widgets::MessageAnswer::Ok;
    MessageAnswerScript answer;
    if (!takeAnswer(answer, Kind::Message, "yes/no message box"))
        return widgets::MessageAnswer::No;
    return answer.answer;
}

void ScriptedPrompts::errorBox(std::string_view message)
{
    m_calls.push_back(makeCall(Kind::Error, std::string(message)));
}

void ScriptedPrompts::beep()
{
    m_calls.push_back(makeCall(Kind::Beep));
}

} // namespace support
