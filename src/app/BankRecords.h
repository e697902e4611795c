#pragma once

// A bank record's decoded texts as the editor keeps them: the question in QuestionText and
// the five answers in ChoiceTexts, each followed by zero bytes.

#include "app/EditorState.h"
#include "formats/BankRecord.h"

#include <cstdint>
#include <span>

namespace app {

// `record` may be short or empty (a record cut off by the end of the file): the texts are
// decoded from the bytes it holds.
void storeRecord(EditorState& state, std::span<const std::uint8_t> record);
void storeRecord(EditorState& state, const formats::BankRecord& decoded);

} // namespace app
