// A whole bank file through the window: opened through the open dialog, its genre
// directory listed, and genres added with any record range typed into the genre table.
// The first 16 bytes are two typed ranges (32-bit first and last numbers), the rest is
// the bank. Every added row must be the record of its number, decoded, and no row may be
// added for a record the file does not hold or a bank cannot count.

#include "WindowFuzzing.h"

#include "formats/BankLayout.h"
#include "formats/BankRecord.h"
#include "widgets/grid/StringGrid.h"

#include <QAbstractItemModel>
#include <QTableView>

#include <algorithm>
#include <cstring>

namespace bank = formats::bank;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzing::session(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kRanges = 16;
    if (size < kRanges)
        return 0;
    fuzzing::Session& s = fuzzing::session();
    app::TForm1& form = *s.form;
    const std::span<const std::uint8_t> file(data + kRanges, size - kRanges);
    const std::string path = fuzzing::writeFile("bank.5TQ", reinterpret_cast<const char*>(file.data()), file.size());

    fuzzing::run([&] { form.Button4Click(); });
    // An empty last genre name keeps the genre table from counting as full, so each run
    // reads its bank without first resetting the table through the folder browser.
    form.StringGrid1->setCells(1, 8, "");
    s.prompts.clearRecords();
    s.prompts.acceptOpen(path, 1);
    fuzzing::run([&] { form.Button1Click(); });
    fuzzing::check(s.prompts.errorTexts().empty());

    const std::int64_t beyondDirectory = std::int64_t(file.size()) - std::int64_t(bank::kFirstRecordOffset);
    const std::int64_t recordsInFile = beyondDirectory > 0 ? (beyondDirectory + 255) / 256 : 0;
    for (int pair = 0; pair < 2; ++pair) {
        std::int32_t first = 0;
        std::int32_t last = 0;
        std::memcpy(&first, data + pair * 8, 4);
        std::memcpy(&last, data + pair * 8 + 4, 4);
        const int row = 1 + (data[pair * 8] & 7);
        form.StringGrid1->setCells(3, row, std::to_string(first));
        form.StringGrid1->setCells(4, row, std::to_string(last));
        const int before = form.StringGrid2->RowCount();
        bool canSelect = true;
        fuzzing::run([&] { form.StringGrid1SelectCell(2, row, &canSelect); });

        const std::int64_t from = std::max<std::int64_t>(first, 1);
        const std::int64_t to = std::min({std::int64_t(last), recordsInFile, bank::kMaxRecords});
        const std::int64_t expected = last >= first && from <= to ? to - from + 1 : 0;
        const int added = form.StringGrid2->RowCount() - before;
        fuzzing::check(added == expected);
        fuzzing::check(form.StringGrid2->view()->model()->rowCount() == form.StringGrid2->RowCount() - 1);
        formats::BankRecord record;
        for (int i = 0; i < added; ++i) {
            const std::int64_t k = from + i;
            formats::decodeRecord(formats::clampedSlice(file, std::size_t(bank::recordOffset(k)), bank::kRecordSize), record);
            const int at = before - 1 + i;
            fuzzing::check(form.StringGrid2->Cells(1, at) == record.question.view());
            fuzzing::check(form.StringGrid2->Cells(2, at) == record.answers[0].view());
        }
        for (int col = 0; col < 5; ++col)
            fuzzing::check(form.StringGrid2->Cells(col, form.StringGrid2->RowCount() - 1).empty());
    }
    return 0;
}
