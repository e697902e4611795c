#include "app/BankRecords.h"

#include <algorithm>

namespace app {

void storeRecord(EditorState& state, std::span<const std::uint8_t> record)
{
    formats::BankRecord decoded;
    formats::decodeRecord(record, decoded);
    storeRecord(state, decoded);
}

void storeRecord(EditorState& state, const formats::BankRecord& decoded)
{
    state.QuestionText.fill('\0');
    const std::string_view question = decoded.question.view();
    std::copy(question.begin(), question.end(), state.QuestionText.begin());
    for (std::size_t slot = 0; slot < state.ChoiceTexts.size(); ++slot) {
        auto& buffer = state.ChoiceTexts[slot];
        buffer.fill('\0');
        const std::string_view answer = decoded.answers[slot].view();
        std::copy(answer.begin(), answer.end(), buffer.begin());
    }
}

} // namespace app
