// Converting the target range into mon text in the memo pad, and saving the memo pad.

#include "app/Colours.h"
#include "app/TForm1.h"
#include "app/TableLayout.h"
#include "app/WindowTexts.h"
#include "formats/MonLines.h"
#include "text/FileNames.h"
#include "text/IntegerConversion.h"
#include "text/Messages.h"
#include "widgets/FileList.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/Prompts.h"
#include "widgets/grid/StringGrid.h"
#include "widgets/UnencodableTextError.h"
#include "widgets/WidgetText.h"

#include <QFileInfo>
#include <QString>

namespace app {

namespace {

// Turns the memo pad's plain-text switch on for as long as it lives.
class PlainTextForWrite final {
public:
    explicit PlainTextForWrite(widgets::MemoPad& pad) : m_pad(pad) { m_pad.setPlainText(widgets::PlainTextSwitch::On); }
    ~PlainTextForWrite() { m_pad.setPlainText(widgets::PlainTextSwitch::Off); }
    PlainTextForWrite(const PlainTextForWrite&) = delete;
    PlainTextForWrite& operator=(const PlainTextForWrite&) = delete;

private:
    widgets::MemoPad& m_pad;
};

} // namespace

std::optional<TForm1::TitleAndGenre> TForm1::titleAndGenre()
{
    const widgets::LineEdit* field = Edit4;
    try {
        TitleAndGenre texts{Edit4->Text(), {}};
        field = Edit5;
        texts.genre = Edit5->Text();
        return texts;
    } catch (const widgets::UnencodableTextError& error) {
        m_prompts->beep();
        const std::string& name = field == Edit4 ? texts::kLabel5 : texts::kLabel6;
        m_prompts->messageBox(text::formatMessage(texts::kUnconvertibleCharacter,
                                                  {name, widgets::characterInMessage(error.character()),
                                                   widgets::codePointName(error.character())}),
                              widgets::MessageKind::Warning, widgets::MessageButtons::Ok);
        return std::nullopt;
    }
}

bool TForm1::rangeIsValid() const
{
    return Edit7->Color() == colours::kLime;
}

void TForm1::refuseInvalidRange()
{
    m_prompts->beep();
    m_prompts->messageBox(texts::kInvalidCount, widgets::MessageKind::Information, widgets::MessageButtons::Ok);
}

void TForm1::refuseRangeOutsideRows()
{
    m_prompts->beep();
    m_prompts->messageBox(texts::kRangeOutsideRows, widgets::MessageKind::Information, widgets::MessageButtons::Ok);
}

bool TForm1::rangeReachesOutsideRows() const
{
    const std::optional<std::int32_t> first = text::parseInt32(Edit6->Text());
    const std::optional<std::int32_t> last = text::parseInt32(Edit8->Text());
    if (!first || !last || *last < *first)
        return false;
    return *first < 1 || *last > questionCount();
}

void TForm1::Button5Click()
{
    if (!rangeIsValid()) {
        refuseInvalidRange();
        return;
    }
    // A file whose header counts more questions than it holds is never made.
    if (rangeReachesOutsideRows()) {
        refuseRangeOutsideRows();
        return;
    }
    // Title and genre are read before anything changes: a character Shift-JIS cannot hold
    // refuses the conversion and leaves the memo pad as it was.
    const std::optional<TitleAndGenre> named = titleAndGenre();
    if (!named)
        return;
    Edit3->setText(text::replaceExtension(SaveDialog1.fileName, ".mon"));
    SaveDialog1.filterIndex = 1;
    RichEdit1->Clear();
    RichEdit1->AddLines({formats::monHeaderLine(Edit7->Text(), named->title), formats::monGenreLine(named->genre)});

    const std::int32_t first = text::toInt32(Edit6->Text());
    const std::int32_t last = text::toInt32(Edit8->Text());
    if (last < first)
        return;
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::int64_t(last) - first + 1));
    for (std::int64_t row = first; row <= last; ++row) {
        const int r = static_cast<int>(row);
        lines.push_back(formats::monQuestionLine(StringGrid2->Cells(QuestionColumn::Answer, r), StringGrid2->Cells(QuestionColumn::Question, r)));
    }
    RichEdit1->AddLines(lines);
}

void TForm1::Button6Click()
{
    const PlainTextForWrite plainText(*RichEdit1);
    SaveDialog1.fileName = Edit3->Text();
    if (!m_prompts->execSave(SaveDialog1))
        return;
    try {
        RichEdit1->SaveToFile(SaveDialog1.fileName);
        // A file saved into the browser's folder is listed there at once.
        if (QFileInfo(widgets::pathFromBytes(SaveDialog1.fileName)).absolutePath() == FileListBox1->directoryPath())
            FileListBox1->reread();
    } catch (const widgets::UnencodableTextError& error) {
        // Nothing is written rather than a character silently replaced.
        m_prompts->beep();
        m_prompts->messageBox(text::formatMessage(texts::kUnsavableCharacter,
                                                  {std::to_string(error.line()), widgets::characterInMessage(error.character()),
                                                   widgets::codePointName(error.character())}),
                              widgets::MessageKind::Warning, widgets::MessageButtons::Ok);
    }
}

} // namespace app
