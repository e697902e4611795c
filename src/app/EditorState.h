#pragma once

// The variables the handlers share besides the controls. All are zero, empty or none
// when the program starts. Texts are Shift-JIS byte strings.

#include "app/BankFile.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QFont;

namespace app {

struct EditorState {
    // The open bank, or none; replaced only when another bank opened successfully.
    std::unique_ptr<BankFile> BankStream;
    // Scratch for each genre name while the directory is read; afterwards the decoded
    // question text of the record read last, followed by a zero byte.
    std::array<char, 256> QuestionText{};
    // The 16-bit fields of a genre entry.
    std::array<std::uint8_t, 2> HeaderWord{};
    // Decoded answers of the record read last, each followed by a zero byte; slot 0 is
    // the correct answer.
    std::array<std::array<char, 61>, 5> ChoiceTexts{};
    // 1 when the listing puts an empty line before every entry, else 0.
    std::int32_t InsertBlankLines = 0;
    // The two range numbers in ascending order, as the range fields' change handlers stored them.
    std::string RangeLow;
    std::string RangeHigh;
    // Number of mon files listed in the genre table.
    std::int32_t MonFileCount = 0;
    // The memo pad's own font object (not owned).
    const QFont* SavedFont = nullptr;
};

// A zero-terminated text held in one of the fixed buffers.
template <std::size_t N>
std::string bufferText(const std::array<char, N>& buffer)
{
    std::size_t length = 0;
    while (length < N && buffer[length] != '\0')
        ++length;
    return std::string(buffer.data(), length);
}

} // namespace app
