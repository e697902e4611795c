#pragma once

// What the finder and the duplicate marks know of the question table, kept in step with it
// so that neither reads half a million rows again at every keystroke or change.
//
// - The duplicate marks: for every question row, a hash of its folded question and answer
//   (FoldedText), and for every hash the number of rows holding it. A row is marked when
//   another row holds the same question with the same answer; a row without a question is
//   never marked. Kept at every change of the table as it happens, for up to 2 ms;
//   what is left of a larger change is keyed in slices while the window goes on.
// - The find text: every row's folded question, answer, genre and wrong answers. Made only
//   once finding is first asked for, a slice at a time while the window goes on; then kept
//   with every change as well (rows changed are folded again in the next slices).
//
// The table tells its changes through its item model (rows inserted, removed, moved, cells
// changed), undo and redo included, so this follows it without the table knowing.

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QTimer>

#include <cstdint>
#include <vector>

class QAbstractItemModel;

namespace widgets {
class StringGrid;
}

namespace app::find {

// A cell found: grid column and row.
struct CellAt {
    int col = 0;
    int row = 0;
    friend bool operator==(const CellAt&, const CellAt&) = default;
};

class QuestionIndex final : public QObject {
    Q_OBJECT

public:
    explicit QuestionIndex(widgets::StringGrid& table, QObject* parent = nullptr);

    // Grid row `row` (any row; the header and the blank last row are never marked).
    bool isDuplicate(int row) const;
    // False while a change too large to key at once (an undone ④ of half a million rows, a
    // column moved) is still being keyed, a slice at a time; until then the rows not keyed
    // yet keep the marks they had.
    bool marksSettled() const { return m_staleKeys == 0; }
    int duplicateRows() const { return m_duplicateRows; }
    // The next marked row after `row` (or before it, backwards), wrapping round; -1 when none.
    int nextDuplicate(int row, bool forward) const;

    // Starts making the find text; findReady() is emitted once every row is folded.
    void prepareFinding();
    bool findingReady() const { return m_findPrepared && m_staleTexts == 0; }
    // Every cell of the question, answer, genre and wrong-answer columns whose folded text
    // holds `query` (folded already), top to bottom and left to right. Only when ready.
    std::vector<CellAt> find(QStringView query) const;
    // The same, kept to the cells of `among` (an earlier result of a shorter query).
    std::vector<CellAt> find(QStringView query, const std::vector<CellAt>& among) const;

    // The grid rows that should be marked, folded and counted again from the table alone
    // (for checks).
    std::vector<int> recountDuplicates() const;

signals:
    // Some row was marked or unmarked.
    void marksChanged();
    // The table changed: earlier find results may be out of date.
    void tableChanged();
    void findReady();
    void findProgress(int folded, int total);

private:
    static constexpr int kSearchedColumns = 4;  // question, answer, genre, wrong answers

    // A model row (grid row - 1). A stale key is the key of the row as it was (or none, for
    // a row just inserted), counted until the row is keyed again; a stale text is folded
    // again in the next slice.
    struct Row {
        std::uint64_t key = 0;   // 0: no question
        QString text;            // the folded cells, once finding was asked for
        bool keyStale = false;
        bool textStale = false;
    };

    std::uint64_t keyOf(int modelRow) const;
    QString findTextOf(int modelRow) const;
    void count(std::uint64_t key, int delta);
    void rekey(int modelRow);
    void findInRow(int modelRow, QStringView query, std::vector<CellAt>& found) const;
    // Keys rows first to last as long as a change may take, and the rest in slices.
    void rekeyRows(int first, int last);
    void insertRows(int first, int last);
    void removeRows(int first, int last);
    void moveRows(int start, int end, int destination);
    void changeRows(int first, int last);
    void rebuild();
    // Rows first to last stale in `stale` (a key or a text), counted in `staleRows`.
    void markStale(int first, int last, bool Row::*stale, int& staleRows);
    void foldSome();
    // Tells what the change that just ended did.
    void endChange();

    widgets::StringGrid& m_table;
    const QAbstractItemModel* m_model;
    std::vector<Row> m_rows;
    QHash<std::uint64_t, int> m_counts;
    int m_duplicateRows = 0;
    bool m_marksChanged = false;
    int m_staleKeys = 0;
    bool m_findPrepared = false;
    int m_staleTexts = 0;
    int m_firstStale = 0;  // no stale key or text before it
    QTimer m_slices;
};

} // namespace app::find
