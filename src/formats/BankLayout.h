#pragma once

// Byte layout of a five-choice question bank (.5TQ). All offsets count from the start of
// the file. The reader trusts nothing in the file beyond this layout.

#include <cstddef>
#include <cstdint>

namespace formats::bank {

inline constexpr int kGenreCount = 8;
inline constexpr std::size_t kGenreEntrySize = 256;
inline constexpr std::size_t kDirectorySize = kGenreCount * kGenreEntrySize; // 2048

// Genre entry: name (plain text), two unused bytes, question count (16-bit little-endian).
inline constexpr std::size_t kGenreNameOffset = 0;
inline constexpr std::size_t kGenreNameSize = 16;
inline constexpr std::size_t kGenreUnusedOffset = 16;
inline constexpr std::size_t kGenreCountOffset = 18;
inline constexpr std::size_t kGenreCountSize = 2;

// Question record: question text, then five answer slots (slot 0 the correct answer),
// all shifted text.
inline constexpr std::size_t kRecordSize = 256;
inline constexpr std::size_t kQuestionOffset = 0;
inline constexpr std::size_t kQuestionSize = 116;
inline constexpr int kAnswerSlots = 5;
inline constexpr std::size_t kAnswerSize = 28;
inline constexpr std::size_t kAnswerOffset = kQuestionOffset + kQuestionSize; // 116
static_assert(kQuestionSize + kAnswerSlots * kAnswerSize == kRecordSize);

inline constexpr std::size_t kFirstRecordOffset = kDirectorySize; // 2048

// A genre counts its questions in 16 bits, so a bank holds at most this many records;
// bytes beyond them are no records, whatever the file's size.
inline constexpr std::int64_t kMaxRecords = std::int64_t(kGenreCount) * 65535; // 524,280

// Byte offset of record number k (k = 1 for the first record of the bank). 64-bit, so
// that any 32-bit record number gives its true offset.
constexpr std::int64_t recordOffset(std::int64_t k)
{
    return static_cast<std::int64_t>(kFirstRecordOffset) + (k - 1) * static_cast<std::int64_t>(kRecordSize);
}

// Records a file of `fileSize` bytes holds, at least in part: a last record cut short counts.
constexpr std::int64_t recordsInFile(std::int64_t fileSize)
{
    const std::int64_t beyondDirectory = fileSize - static_cast<std::int64_t>(kFirstRecordOffset);
    const auto recordSize = static_cast<std::int64_t>(kRecordSize);
    return beyondDirectory > 0 ? (beyondDirectory + recordSize - 1) / recordSize : 0;
}

constexpr std::size_t genreEntryOffset(int genre) // genre 1..8
{
    return static_cast<std::size_t>(genre - 1) * kGenreEntrySize;
}

} // namespace formats::bank
