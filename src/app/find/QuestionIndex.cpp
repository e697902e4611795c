#include "app/find/QuestionIndex.h"

#include "app/TableLayout.h"
#include "app/find/FoldedText.h"
#include "widgets/grid/StringGrid.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QTableView>

#include <algorithm>

namespace app::find {

namespace {

// Between the folded columns of a row's find text: a noncharacter, which no folded text
// or query holds, so that no match runs from one cell into the next.
constexpr char16_t kColumnBreak = 0xFFFF;

// A slice of folding leaves the window this long between events.
constexpr qint64 kSliceNs = 15'000'000;

// A change is keyed as it happens for this long (an edit, a move or a mon file's rows take
// less); what is left of it (most of a bank's genre of 65,535 rows), in slices, so that the
// add itself costs little more than reading the genre.
constexpr qint64 kAtOnceNs = 2'000'000;

// Rows in a group of two or more are marked.
int markedIn(int rows)
{
    return rows >= 2 ? rows : 0;
}

} // namespace

QuestionIndex::QuestionIndex(widgets::StringGrid& table, QObject* parent)
    : QObject(parent)
    , m_table(table)
    , m_model(table.view()->model())
{
    m_slices.setSingleShot(true);
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &QuestionIndex::foldSome);

    using Model = QAbstractItemModel;
    connect(m_model, &Model::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        insertRows(first, last);
        endChange();
    });
    connect(m_model, &Model::rowsRemoved, this, [this](const QModelIndex&, int first, int last) {
        removeRows(first, last);
        endChange();
    });
    connect(m_model, &Model::rowsMoved, this, [this](const QModelIndex&, int start, int end, const QModelIndex&, int to) {
        moveRows(start, end, to);
        m_marksChanged = true;
        endChange();
    });
    connect(m_model, &Model::dataChanged, this, [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
        // Model column c is grid column c + 1; the number column is the header.
        if (topLeft.column() >= kSearchedColumns)
            return;
        changeRows(topLeft.row(), bottomRight.row());
        endChange();
    });
    for (auto columnsChange : {&Model::columnsInserted, &Model::columnsRemoved})
        connect(m_model, columnsChange, this, [this] { rebuild(); });
    connect(m_model, &Model::columnsMoved, this, [this] { rebuild(); });
    connect(m_model, &Model::modelReset, this, [this] { rebuild(); });
    connect(m_model, &Model::layoutChanged, this, [this] { rebuild(); });
    rebuild();
}

std::uint64_t QuestionIndex::keyOf(int modelRow) const
{
    const int row = modelRow + 1;
    FoldedHash hash;
    if (!hash.add(m_table.Cells(QuestionColumn::Question, row)))
        return 0;
    hash.add(m_table.Cells(QuestionColumn::Answer, row));
    return hash.value() ? hash.value() : 1;
}

QString QuestionIndex::findTextOf(int modelRow) const
{
    thread_local std::u16string text;
    text.clear();
    for (int col = QuestionColumn::Question; col < QuestionColumn::Question + kSearchedColumns; ++col) {
        if (col != QuestionColumn::Question)
            text.push_back(kColumnBreak);
        appendFoldedCell(m_table.Cells(col, modelRow + 1), text);
    }
    return QString::fromStdU16String(text);
}

void QuestionIndex::count(std::uint64_t key, int delta)
{
    if (key == 0)
        return;
    int& rows = m_counts[key];
    const int before = rows;
    rows += delta;
    const int after = rows;
    if (after == 0)
        m_counts.remove(key);
    // From one row to two marks both; from two to three, the third.
    if (markedIn(after) != markedIn(before)) {
        m_duplicateRows += markedIn(after) - markedIn(before);
        m_marksChanged = true;
    }
}

void QuestionIndex::rekey(int modelRow)
{
    Row& row = m_rows[modelRow];
    const std::uint64_t key = keyOf(modelRow);
    if (row.keyStale) {
        row.keyStale = false;
        --m_staleKeys;
    }
    if (key == row.key)
        return;
    count(row.key, -1);
    count(key, +1);
    row.key = key;
}

void QuestionIndex::insertRows(int first, int last)
{
    const int count = last - first + 1;
    m_rows.insert(m_rows.begin() + first, count, Row());
    rekeyRows(first, last);
    if (m_findPrepared)
        markStale(first, last, &Row::textStale, m_staleTexts);
}

void QuestionIndex::removeRows(int first, int last)
{
    const int removed = last - first + 1;
    const bool most = removed > static_cast<int>(m_rows.size()) / 2;
    for (int at = first; at <= last; ++at) {
        const Row& row = m_rows[at];
        if (!most)
            count(row.key, -1);
        m_staleKeys -= row.keyStale;
        m_staleTexts -= row.textStale;
    }
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
    m_firstStale = std::min(m_firstStale, first);
    if (most) {
        // Fewer rows are left than went (④): they are counted again, from their keys.
        const int markedBefore = m_duplicateRows;
        m_counts.clear();
        m_duplicateRows = 0;
        for (const Row& row : m_rows)
            count(row.key, +1);
        m_marksChanged = m_marksChanged || markedBefore > 0 || m_duplicateRows > 0;
    }
}

void QuestionIndex::moveRows(int start, int end, int destination)
{
    // Rows start..end go before `destination`, counted before the move.
    if (destination > end)
        std::rotate(m_rows.begin() + start, m_rows.begin() + end + 1, m_rows.begin() + destination);
    else
        std::rotate(m_rows.begin() + destination, m_rows.begin() + start, m_rows.begin() + end + 1);
    m_firstStale = std::min({m_firstStale, start, destination});
}

void QuestionIndex::rekeyRows(int first, int last)
{
    QElapsedTimer spent;
    spent.start();
    for (int row = first; row <= last; ++row) {
        if ((row & 255) == 0 && spent.nsecsElapsed() > kAtOnceNs) {
            markStale(row, last, &Row::keyStale, m_staleKeys);
            return;
        }
        rekey(row);
    }
}

void QuestionIndex::changeRows(int first, int last)
{
    rekeyRows(first, last);
    if (m_findPrepared)
        markStale(first, last, &Row::textStale, m_staleTexts);
}

void QuestionIndex::rebuild()
{
    m_rows.clear();
    m_counts.clear();
    m_duplicateRows = 0;
    m_staleKeys = 0;
    m_staleTexts = 0;
    m_firstStale = 0;
    const int rows = m_model->rowCount();
    if (rows > 0)
        insertRows(0, rows - 1);
    m_marksChanged = true;
    endChange();
}

void QuestionIndex::markStale(int first, int last, bool Row::*stale, int& staleRows)
{
    for (int at = first; at <= last; ++at) {
        bool& flag = m_rows[at].*stale;
        staleRows += !flag;
        flag = true;
    }
    m_firstStale = std::min(m_firstStale, first);
    if (!m_slices.isActive())
        m_slices.start();
}

void QuestionIndex::endChange()
{
    if (m_marksChanged) {
        m_marksChanged = false;
        emit marksChanged();
    }
    emit tableChanged();
}

void QuestionIndex::prepareFinding()
{
    if (m_findPrepared)
        return;
    m_findPrepared = true;
    if (!m_rows.empty())
        markStale(0, static_cast<int>(m_rows.size()) - 1, &Row::textStale, m_staleTexts);
    else
        emit findReady();
}

void QuestionIndex::foldSome()
{
    // The marks first: they are shown; the find text only once they are right.
    QElapsedTimer slice;
    slice.start();
    const int rows = static_cast<int>(m_rows.size());
    const bool keys = m_staleKeys > 0;
    int at = m_firstStale;
    for (; at < rows && (keys ? m_staleKeys > 0 : m_staleTexts > 0); ++at) {
        Row& row = m_rows[at];
        if (row.keyStale)
            rekey(at);
        if (!keys && row.textStale) {
            row.text = findTextOf(at);
            row.textStale = false;
            --m_staleTexts;
        }
        if ((at & 63) == 0 && slice.nsecsElapsed() > kSliceNs) {
            ++at;
            break;
        }
    }
    const bool more = m_staleKeys > 0 || m_staleTexts > 0;
    // Keys done: the texts start again from the first row that may be stale.
    m_firstStale = !more ? 0 : keys && m_staleKeys == 0 ? 0 : at;
    if (m_marksChanged && m_staleKeys == 0) {
        m_marksChanged = false;
        emit marksChanged();
    }
    if (m_findPrepared)
        emit findProgress(rows - m_staleTexts, rows);
    if (more)
        m_slices.start();
    else if (m_findPrepared)
        emit findReady();
}

bool QuestionIndex::isDuplicate(int row) const
{
    const int at = row - 1;
    if (at < 0 || at >= static_cast<int>(m_rows.size()) || m_rows[at].key == 0)
        return false;
    return m_counts.value(m_rows[at].key) >= 2;
}

int QuestionIndex::nextDuplicate(int row, bool forward) const
{
    const int rows = static_cast<int>(m_rows.size());
    if (m_duplicateRows == 0 || rows == 0)
        return -1;
    int at = std::clamp(row - 1, -1, rows);
    for (int step = 0; step < rows; ++step) {
        at = forward ? (at + 1) % rows : (at - 1 + rows) % rows;
        if (m_rows[at].key != 0 && m_counts.value(m_rows[at].key) >= 2)
            return at + 1;
    }
    return -1;
}

namespace {

// Whether `text` holds `query`: its first unit looked for with Qt's vectorised search, the
// rest compared where that unit stands.
bool holds(QStringView text, QStringView query)
{
    const QChar first = query.front();
    const qsizetype last = text.size() - query.size();
    for (qsizetype at = 0; at <= last; ++at) {
        at = text.indexOf(first, at);
        if (at < 0 || at > last)
            return false;
        if (text.sliced(at, query.size()) == query)
            return true;
    }
    return false;
}

} // namespace

void QuestionIndex::findInRow(int modelRow, QStringView query, std::vector<CellAt>& found) const
{
    const QStringView text = m_rows[modelRow].text;
    if (!holds(text, query))
        return;
    int col = QuestionColumn::Question;
    for (QStringView cell : text.tokenize(QChar(kColumnBreak))) {
        if (holds(cell, query))
            found.push_back({col, modelRow + 1});
        ++col;
    }
}

std::vector<CellAt> QuestionIndex::find(QStringView query) const
{
    std::vector<CellAt> found;
    if (query.isEmpty() || !findingReady())
        return found;
    const int rows = static_cast<int>(m_rows.size());
    for (int row = 0; row < rows; ++row)
        findInRow(row, query, found);
    return found;
}

std::vector<CellAt> QuestionIndex::find(QStringView query, const std::vector<CellAt>& among) const
{
    // The cells of a longer query lie in the rows of the shorter one's.
    std::vector<CellAt> found;
    if (query.isEmpty() || !findingReady())
        return found;
    int last = 0;
    for (const CellAt& at : among) {
        if (at.row == last)
            continue;
        last = at.row;
        findInRow(at.row - 1, query, found);
    }
    return found;
}

std::vector<int> QuestionIndex::recountDuplicates() const
{
    QHash<QString, std::vector<int>> rowsOf;
    const int rows = m_model->rowCount();
    for (int row = 1; row <= rows; ++row) {
        const QString question = foldedCell(m_table.Cells(QuestionColumn::Question, row));
        if (question.isEmpty())
            continue;
        rowsOf[question + QChar(kColumnBreak) + foldedCell(m_table.Cells(QuestionColumn::Answer, row))].push_back(row);
    }
    std::vector<int> marked;
    for (const std::vector<int>& group : std::as_const(rowsOf))
        if (group.size() >= 2)
            marked.insert(marked.end(), group.begin(), group.end());
    std::sort(marked.begin(), marked.end());
    return marked;
}

} // namespace app::find
