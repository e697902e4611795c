// A whole mon file through the window: listed through the open dialog into the memo pad
// and the genre table, its questions added to the question table, and the memo pad saved.
// A file the editor takes must come back byte for byte as its lines, each ended by CR LF
// (non-canonical double-byte codes of a character come back as its canonical code); a file
// it refuses must be one beyond the limits, and leave the memo pad as it was.

#include "WindowFuzzing.h"

#include "formats/MonLimits.h"
#include "formats/MonLines.h"
#include "widgets/MemoPad.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"

namespace {

std::string expectedSave(std::string_view text)
{
    std::string out;
    for (const std::string& line : formats::splitLines(text)) {
        out += sjis::fromUnicode(sjis::toUnicode(line)).bytes;
        out += formats::kCrLf;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzing::session(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::Session& s = fuzzing::session();
    app::TForm1& form = *s.form;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzzing::writeFile("in.mon", text.data(), text.size());

    fuzzing::run([&] { form.Button4Click(); });
    form.RichEdit1->Clear();
    form.RichEdit1->Add("before");
    s.prompts.clearRecords();
    s.prompts.acceptOpen(path, 2);
    fuzzing::run([&] { form.Button1Click(); });

    const bool fits = formats::checkMonText(text) == formats::MonFit::Fits;
    if (!fits) {
        fuzzing::check(s.prompts.errorTexts().size() == 1);
        fuzzing::check(form.RichEdit1->Lines() == std::vector<std::string>{"before"});
        return 0;
    }
    fuzzing::check(s.prompts.errorTexts().empty());

    const std::vector<std::string> lines = formats::splitLines(text);
    const int row = form.state().MonFileCount;
    bool canSelect = true;
    fuzzing::run([&] { form.StringGrid1SelectCell(2, row, &canSelect); });
    fuzzing::check(s.prompts.errorTexts().empty());
    const std::size_t questions = formats::questionLines(lines, 2).size();
    fuzzing::check(std::size_t(form.StringGrid2->RowCount() - 2) == questions);

    const std::string saved = fuzzing::writeFile("out.mon", "", 0);
    s.prompts.acceptSave(saved, 1);
    fuzzing::run([&] { form.Button6Click(); });
    fuzzing::check(s.prompts.errorTexts().empty());
    fuzzing::check(fuzzing::readFile(saved) == expectedSave(text));
    return 0;
}
