#pragma once

// The columns and fixed rows of the window's two tables, by name. The handlers read and
// write cells through these; the tables themselves know only numbers.

namespace app {

// The question table (StringGrid2): a header row, a row per question, and a blank last
// row where added questions go.
namespace QuestionColumn {
enum : int { Number, Question, Answer, Genre, WrongAnswers };
}
inline constexpr int kQuestionColumns = 5;
inline constexpr int kHeaderRow = 0;             // both tables: the captions
inline constexpr int kFirstQuestionRow = 1;
inline constexpr int kQuestionFrameRows = 2;     // the header row and the blank last row

// The genre table (StringGrid1) after a bank was read: a row per genre of the bank.
namespace BankGenreColumn {
enum : int { Label, Genre, Count, First, Last };
}
// The genre table after mon files were read: a row per file.
namespace MonFileColumn {
enum : int { Title, Genre, Count, Path };
}
inline constexpr int kGenreColumns = 5;
inline constexpr int kGenreTableRows = 9;        // the header row and eight genres or files
inline constexpr int kMarkerColumn = 0;          // the header's first cell: bank or mon files

} // namespace app
