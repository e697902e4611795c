// Decodes arbitrary bytes as a genre entry and as a question record, and checks what
// every decoded text must satisfy.

#include "formats/BankRecord.h"

#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkText(std::string_view text, std::size_t fieldSize)
{
    check(text.size() <= fieldSize);
    check(text.find('\0') == std::string_view::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const auto genre = formats::decodeGenreEntry(bytes);
    checkText(genre.name, formats::bank::kGenreNameSize);

    formats::BankRecord record;
    formats::decodeRecord(bytes, record);
    checkText(record.question.view(), formats::bank::kQuestionSize);
    for (const auto& answer : record.answers)
        checkText(answer.view(), formats::bank::kAnswerSize);

    // A record read at an offset inside the data, as the window does for record k.
    if (size > 0) {
        const std::size_t offset = data[0] * 7u;
        formats::decodeRecord(formats::clampedSlice(bytes, offset, formats::bank::kRecordSize), record);
        checkText(record.question.view(), formats::bank::kQuestionSize);
        // Whole fields and cut fields decode by different code paths; they must agree.
        const auto question = formats::clampedSlice(bytes, offset, formats::bank::kQuestionSize);
        if (question.size() == formats::bank::kQuestionSize) {
            const std::string whole = formats::decodeField(question, formats::FieldCoding::Shifted);
            const std::string cut = formats::decodeField(question.first(question.size() - 1), formats::FieldCoding::Shifted);
            // Away from the field's last two bytes the end does not depend on them.
            if (whole.size() + 2 < question.size())
                check(cut == whole);
            const std::size_t common = std::min(whole.size(), cut.size());
            check(whole.compare(0, common, cut, 0, common) == 0);
        }
    }
    return 0;
}
