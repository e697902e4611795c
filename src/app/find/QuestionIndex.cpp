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
    const QString question = foldedCell(m_table.Cells(QuestionColumn::Question, row));
    if (question.isEmpty())
        return 0;
    QString both = question;
    both.append(kColumnBreak);
    both.append(foldedCell(m_table.Cells(QuestionColumn::Answer, row)));
    const std::uint64_t key = qHash(QStringView(both), 0);
    return key ? key : 1;
}

QString QuestionIndex::findTextOf(int modelRow) const
{
    QString text;
    for (int col = QuestionColumn::Question; col < QuestionColumn::Question + kSearchedColumns; ++col) {
        if (col != QuestionColumn::Question)
            text.append(kColumnBreak);
        text.append(foldedCell(m_table.Cells(col, modelRow + 1)));
    }
    return text;
}

void QuestionIndex::count(std::uint64_t key, int delta)
{
    if (key == 0)
        return;
    auto at = m_counts.find(key);
    const int before = at == m_counts.end() ? 0 : *at;
    const int after = before + delta;
    if (after == 0)
        m_counts.erase(at);
    else if (at == m_counts.end())
        m_counts.insert(key, after);
    else
        *at = after;
    const int change = markedIn(after) - markedIn(before);
    m_duplicateRows += change;
    // Going from two rows to three marks the third; from one to two, both.
    if (markedIn(after) != markedIn(before))
        m_marksChanged = true;
}

void QuestionIndex::insertRows(int first, int last)
{
    const int count = last - first + 1;
    std::vector<std::uint64_t> keys(count);
    for (int i = 0; i < count; ++i)
        keys[i] = keyOf(first + i);
    m_keys.insert(m_keys.begin() + first, keys.begin(), keys.end());
    for (std::uint64_t key : keys)
        this->count(key, +1);
    if (m_findPrepared) {
        m_findText.insert(m_findText.begin() + first, count, QString());
        m_isStale.insert(m_isStale.begin() + first, count, 0);
        markStale(first, last);
    }
}

void QuestionIndex::removeRows(int first, int last)
{
    for (int row = first; row <= last; ++row)
        count(m_keys[row], -1);
    m_keys.erase(m_keys.begin() + first, m_keys.begin() + last + 1);
    if (m_findPrepared) {
        for (int row = first; row <= last; ++row)
            m_stale -= m_isStale[row];
        m_findText.erase(m_findText.begin() + first, m_findText.begin() + last + 1);
        m_isStale.erase(m_isStale.begin() + first, m_isStale.begin() + last + 1);
        m_firstStale = std::min(m_firstStale, first);
    }
}

void QuestionIndex::moveRows(int start, int end, int destination)
{
    // Rows start..end go before `destination`, counted before the move.
    const auto rotate = [&](auto& rows) {
        if (destination > end)
            std::rotate(rows.begin() + start, rows.begin() + end + 1, rows.begin() + destination);
        else
            std::rotate(rows.begin() + destination, rows.begin() + start, rows.begin() + end + 1);
    };
    rotate(m_keys);
    if (m_findPrepared) {
        rotate(m_findText);
        rotate(m_isStale);
        m_firstStale = std::min({m_firstStale, start, destination});
    }
}

void QuestionIndex::changeRows(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        const std::uint64_t key = keyOf(row);
        if (key == m_keys[row])
            continue;
        count(m_keys[row], -1);
        count(key, +1);
        m_keys[row] = key;
    }
    if (m_findPrepared)
        markStale(first, last);
}

void QuestionIndex::rebuild()
{
    m_keys.clear();
    m_counts.clear();
    m_duplicateRows = 0;
    m_findText.clear();
    m_isStale.clear();
    m_stale = 0;
    m_firstStale = 0;
    const int rows = m_model->rowCount();
    if (rows > 0)
        insertRows(0, rows - 1);
    if (m_findPrepared) {
        // insertRows left the entries out while the vectors were empty of them.
        m_findText.assign(rows, QString());
        m_isStale.assign(rows, 0);
        m_stale = 0;
        if (rows > 0)
            markStale(0, rows - 1);
    }
    m_marksChanged = true;
    endChange();
}

void QuestionIndex::markStale(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        m_stale += 1 - m_isStale[row];
        m_isStale[row] = 1;
    }
    m_firstStale = std::min(m_firstStale, first);
    if (m_stale > 0 && !m_slices.isActive())
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
    const int rows = static_cast<int>(m_keys.size());
    m_findText.assign(rows, QString());
    m_isStale.assign(rows, 0);
    m_stale = 0;
    m_firstStale = 0;
    if (rows > 0)
        markStale(0, rows - 1);
    else
        emit findReady();
}

void QuestionIndex::foldSome()
{
    QElapsedTimer slice;
    slice.start();
    const int rows = static_cast<int>(m_findText.size());
    int row = m_firstStale;
    for (; row < rows && m_stale > 0; ++row) {
        if (!m_isStale[row])
            continue;
        m_findText[row] = findTextOf(row);
        m_isStale[row] = 0;
        --m_stale;
        if ((row & 63) == 0 && slice.nsecsElapsed() > kSliceNs) {
            ++row;
            break;
        }
    }
    m_firstStale = m_stale > 0 ? row : 0;
    emit findProgress(rows - m_stale, rows);
    if (m_stale > 0)
        m_slices.start();
    else
        emit findReady();
}

bool QuestionIndex::isDuplicate(int row) const
{
    const int at = row - 1;
    if (at < 0 || at >= static_cast<int>(m_keys.size()) || m_keys[at] == 0)
        return false;
    return m_counts.value(m_keys[at]) >= 2;
}

int QuestionIndex::nextDuplicate(int row, bool forward) const
{
    const int rows = static_cast<int>(m_keys.size());
    if (m_duplicateRows == 0 || rows == 0)
        return -1;
    int at = std::clamp(row - 1, -1, rows);
    for (int step = 0; step < rows; ++step) {
        at = forward ? (at + 1) % rows : (at - 1 + rows) % rows;
        if (m_keys[at] != 0 && m_counts.value(m_keys[at]) >= 2)
            return at + 1;
    }
    return -1;
}

std::vector<CellAt> QuestionIndex::find(QStringView query) const
{
    std::vector<CellAt> found;
    if (query.isEmpty() || !findingReady())
        return found;
    const int rows = static_cast<int>(m_findText.size());
    for (int row = 0; row < rows; ++row) {
        const QStringView text = m_findText[row];
        if (!text.contains(query))
            continue;
        int col = QuestionColumn::Question;
        for (QStringView cell : text.tokenize(kColumnBreak)) {
            if (cell.contains(query))
                found.push_back({col, row + 1});
            ++col;
        }
    }
    return found;
}

std::vector<CellAt> QuestionIndex::find(QStringView query, const std::vector<CellAt>& among) const
{
    std::vector<CellAt> found;
    if (query.isEmpty() || !findingReady())
        return found;
    for (const CellAt& at : among) {
        const QStringView text = m_findText[at.row - 1];
        const auto cells = text.tokenize(kColumnBreak);
        auto cell = cells.begin();
        std::advance(cell, at.col - QuestionColumn::Question);
        if ((*cell).contains(query))
            found.push_back(at);
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
