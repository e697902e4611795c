#pragma once

// The find bar over the question table (Ctrl+F). Typing finds as it goes, over the question,
// answer, genre and wrong-answer cells, compared folded (FoldedText); the found cell becomes
// the table's current cell and is scrolled into view. Return and F3 go to the next match,
// with Shift to the previous one, wrapping round with a note; F8 and Shift+F8 go to the next
// and previous row marked as a duplicate. Escape closes the bar and gives the keyboard focus
// back to where it was when the bar opened.

#include "app/find/QuestionIndex.h"

#include <QFrame>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <vector>

class QLabel;
class QLineEdit;
class QToolButton;

namespace widgets {
class StringGrid;
}

namespace app::find {

class FindBar final : public QFrame {
    Q_OBJECT

public:
    FindBar(widgets::StringGrid& table, QuestionIndex& index, QWidget* parent);

    // Shows the bar with its field focused and its text selected, remembering the focus.
    void open();
    void close();
    void findNext(bool forward);
    void nextDuplicate(bool forward);

    QLineEdit* field() const { return m_field; }
    QString status() const;
    // The matches of the text typed, as far as known (for checks).
    int matchCount() const { return static_cast<int>(m_matches.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void queryChanged();
    // The matches found again after the table changed; the current cell stays.
    void refresh();
    void goTo(CellAt cell);
    void showPosition(const std::string& note = {});
    void showStatus(const QString& text);
    CellAt currentCell() const;

    widgets::StringGrid& m_table;
    QuestionIndex& m_index;
    QLineEdit* m_field;
    QLabel* m_status;
    QToolButton* m_previous;
    QToolButton* m_next;
    QToolButton* m_duplicate;
    QToolButton* m_close;

    QString m_query;                 // folded
    std::vector<CellAt> m_matches;   // of m_query, top to bottom, left to right
    bool m_stale = false;            // the table changed since m_matches were found
    bool m_waiting = false;          // a query waits for the find text to be ready
    int m_at = -1;                   // the match that is the current cell, or -1
    QTimer m_refresh;
    QPointer<QWidget> m_returnFocus;
};

} // namespace app::find
