#pragma once

// One bank into mon files: which questions of a genre go into which file, and the bytes of
// each file. The bytes are those the window's conversion saves for the same rows when the
// genre is the first one added to a fresh question table: title and genre as the window
// proposes them, the texts as the bank reader decodes them, and everything passed through
// the fields and the memo pad as the window passes it (the Shift-JIS codec and the memo
// pad's line breaks). One difference: a line break in a genre name, which would cut the
// header lines apart, is "_" in the title and genre.

#include "formats/BankLayout.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace split {

// A mon collection holds from 8 to 300 questions.
inline constexpr int kMinQuestions = 8;
inline constexpr int kMaxQuestions = 300;

struct Genre {
    int number = 0;                 // 1 to 8
    std::string name;               // Shift-JIS, as the genre directory holds it
    int count = 0;                  // questions, from the directory
    std::int64_t firstRecord = 1;   // record number (from 1) of its first question
};

struct BankDirectory {
    std::array<Genre, formats::bank::kGenreCount> genres;
    std::int64_t records = 0;       // the sum of the counts
    std::int64_t bytesNeeded() const { return formats::bank::recordOffset(records + 1); }
};

// The genre directory as the window's genre table shows it: a genre's records follow those
// of the genres before it. `directory` may be short; missing bytes read as zero.
BankDirectory readDirectory(std::span<const std::uint8_t> directory);

// Questions first..last of a genre, counted from 1.
struct Part {
    int first = 1;
    int last = 0;
    int size() const { return last - first + 1; }
};

// A genre of fewer than 8 questions makes no file; one of up to 300 makes one; a larger
// one is cut into the fewest parts of at most 300, as equal as can be (the larger parts
// first), so every part holds at least 150: 301 gives 151 + 150.
std::vector<Part> partsOf(int count);

// The bytes of the mon file of one part. `records` holds the part's records, 256 bytes
// each, in order.
std::string monFileBytes(const Genre& genre, std::span<const std::uint8_t> records, int questions);

// The title and genre fields the window proposes for a genre added to a fresh table: the
// name, and the name followed by "■" cut to 24 bytes at a whole character; each from the
// name with its line breaks made "_".
std::string proposedTitle(std::string_view name);
std::string proposedGenre(std::string_view name);

} // namespace split
