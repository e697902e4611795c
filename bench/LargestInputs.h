#pragma once

// The largest inputs the editor takes, written for the benchmarks: a bank of eight genres of
// 65,535 full-length, distinct records, and mon files of the largest size and line count.

#include <QString>
#include <QTemporaryDir>

#include <string>

namespace bench {

inline constexpr int kGenreRecords = 65535;

// A decoded text of exactly `length` bytes, distinct per number: the number, then hiragana.
std::string decodedText(std::size_t length, long number, char tag);

// Writes `largest.5TQ` into `dir` and returns its path.
QString writeLargestBank(const QTemporaryDir& dir);

// The largest mon file text of the shape given: as many lines like `line` after the two
// header lines as the size and line limits take (up to `lines` lines).
std::string filledMonText(const std::string& line, std::size_t lines);
// 5 MiB of questions of the longest kind taken (16 KiB each, about 320 of them).
std::string longestQuestionsMonText();
// The most lines taken, one short question each (60,300 questions).
std::string mostQuestionsMonText();

// Writes `text` to `name` in `dir` and returns its path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const std::string& text);

} // namespace bench
