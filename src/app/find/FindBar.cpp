#include "app/find/FindBar.h"

#include "app/TableLayout.h"
#include "app/WindowTexts.h"
#include "app/find/FoldedText.h"
#include "codec/ShiftJis.h"
#include "text/Messages.h"
#include "widgets/grid/StringGrid.h"

#include <QAccessible>
#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTableView>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace app::find {

namespace {

QString shown(const std::string& bytes)
{
    return sjis::toUnicode(bytes);
}

bool before(const CellAt& a, const CellAt& b)
{
    return a.row != b.row ? a.row < b.row : a.col < b.col;
}

QToolButton* toolButton(const texts::Text& caption, const texts::Text& name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(shown(caption));
    button->setAccessibleName(shown(name));
    button->setToolTip(button->accessibleName());
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

FindBar::FindBar(widgets::StringGrid& table, QuestionIndex& index, QWidget* parent)
    : QFrame(parent)
    , m_table(table)
    , m_index(index)
    , m_field(new QLineEdit(this))
    , m_status(new QLabel(this))
    , m_previous(toolButton(texts::kFindPrevious, texts::kFindPreviousName, this))
    , m_next(toolButton(texts::kFindNext, texts::kFindNextName, this))
    , m_duplicate(toolButton(texts::kFindDuplicate, texts::kFindDuplicateName, this))
    , m_close(toolButton(texts::kFindClose, texts::kFindCloseName, this))
{
    setObjectName(QStringLiteral("FindBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setAccessibleName(shown(texts::kFindBarName));
    setAccessibleDescription(shown(texts::kFindHelp));
    setToolTip(shown(texts::kFindHelp));
    m_field->setObjectName(QStringLiteral("FindField"));
    m_field->setAccessibleName(shown(texts::kFindFieldName));
    m_field->setAccessibleDescription(shown(texts::kFindHelp));
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    m_status->setObjectName(QStringLiteral("FindStatus"));

    // The field and its buttons on one line, what was found under them.
    auto* lines = new QVBoxLayout(this);
    lines->setContentsMargins(4, 2, 4, 2);
    lines->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(m_field, 1);
    row->addWidget(m_previous);
    row->addWidget(m_next);
    row->addWidget(m_duplicate);
    row->addWidget(m_close);
    lines->addLayout(row);
    lines->addWidget(m_status);

    connect(m_field, &QLineEdit::textChanged, this, &FindBar::queryChanged);
    connect(m_previous, &QToolButton::clicked, this, [this] { findNext(false); });
    connect(m_next, &QToolButton::clicked, this, [this] { findNext(true); });
    connect(m_duplicate, &QToolButton::clicked, this, [this] { nextDuplicate(true); });
    connect(m_close, &QToolButton::clicked, this, &FindBar::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &FindBar::close);

    // Changes of the table are gathered and the matches found again once they are over.
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &FindBar::refresh);
    connect(&m_index, &QuestionIndex::tableChanged, this, [this] {
        m_stale = true;
        if (isVisible() && !m_query.isEmpty())
            m_refresh.start();
    });
    connect(&m_index, &QuestionIndex::findProgress, this, [this](int folded, int total) {
        if (m_waiting && total > 0)
            showStatus(shown(text::formatMessage(texts::kFindPreparing,
                                                 {std::to_string(std::int64_t(folded) * 100 / total)})));
    });
    connect(&m_index, &QuestionIndex::findReady, this, [this] {
        if (!m_waiting)
            return;
        m_waiting = false;
        m_query.clear();
        queryChanged();
    });
    hide();
}

void FindBar::open()
{
    QWidget* const focused = QApplication::focusWidget();
    if (focused && !isAncestorOf(focused))
        m_returnFocus = focused;
    show();
    raise();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    m_index.prepareFinding();
}

void FindBar::close()
{
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    hide();
    if (!hadFocus)
        return;
    if (m_returnFocus && m_returnFocus->isVisible())
        m_returnFocus->setFocus(Qt::OtherFocusReason);
    else
        m_table.view()->setFocus(Qt::OtherFocusReason);
}

QString FindBar::status() const
{
    return m_status->text();
}

void FindBar::showStatus(const QString& text)
{
    if (m_status->text() == text)
        return;
    m_status->setText(text);
    m_status->setAccessibleName(text);
    QAccessibleEvent changed(m_status, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void FindBar::showPosition(const std::string& note)
{
    if (m_query.isEmpty()) {
        showStatus({});
        return;
    }
    if (m_matches.empty()) {
        showStatus(shown(texts::kFindNone));
        return;
    }
    QString position = shown(text::formatMessage(
        texts::kFindPosition, {m_at < 0 ? std::string("-") : std::to_string(m_at + 1), std::to_string(m_matches.size())}));
    if (!note.empty())
        position += u' ' + shown(note);
    showStatus(position);
}

CellAt FindBar::currentCell() const
{
    return {m_table.Col(), m_table.Row()};
}

void FindBar::queryChanged()
{
    const QString query = folded(m_field->text());
    if (!m_index.findingReady()) {
        m_waiting = true;
        m_index.prepareFinding();
        return;
    }
    // A query that grows what was typed keeps to the cells the shorter one found.
    if (!m_stale && !m_query.isEmpty() && query.startsWith(m_query))
        m_matches = m_index.find(query, m_matches);
    else
        m_matches = m_index.find(query);
    m_query = query;
    m_stale = false;
    m_at = -1;
    if (m_matches.empty()) {
        showPosition();
        return;
    }
    // Finding as one types starts at the current cell: a cell that still matches stays.
    const CellAt current = currentCell();
    const auto at = std::lower_bound(m_matches.begin(), m_matches.end(), current, before);
    goTo(at == m_matches.end() ? m_matches.front() : *at);
    showPosition();
}

void FindBar::refresh()
{
    if (!m_stale || m_query.isEmpty())
        return;
    if (!m_index.findingReady()) {
        m_waiting = true;
        return;
    }
    m_matches = m_index.find(m_query);
    m_stale = false;
    const CellAt current = currentCell();
    const auto at = std::lower_bound(m_matches.begin(), m_matches.end(), current, before);
    m_at = at != m_matches.end() && *at == current ? int(at - m_matches.begin()) : -1;
    showPosition();
}

void FindBar::findNext(bool forward)
{
    if (m_query.isEmpty())
        return;
    refresh();
    if (m_matches.empty()) {
        showPosition();
        return;
    }
    const CellAt current = currentCell();
    std::string note;
    CellAt target;
    if (forward) {
        const auto after = std::upper_bound(m_matches.begin(), m_matches.end(), current, before);
        if (after == m_matches.end())
            note = texts::kFindWrappedToTop;
        target = after == m_matches.end() ? m_matches.front() : *after;
    } else {
        const auto at = std::lower_bound(m_matches.begin(), m_matches.end(), current, before);
        if (at == m_matches.begin())
            note = texts::kFindWrappedToBottom;
        target = at == m_matches.begin() ? m_matches.back() : *(at - 1);
    }
    goTo(target);
    showPosition(note);
}

void FindBar::nextDuplicate(bool forward)
{
    const int current = m_table.Row();
    const int row = m_index.nextDuplicate(current, forward);
    if (row < 0) {
        showStatus(shown(texts::kFindNoDuplicate));
        return;
    }
    goTo({QuestionColumn::Question, row});
    QString said = shown(text::formatMessage(texts::kFindDuplicateAt, {std::to_string(m_index.duplicateRows())}));
    if (forward ? row <= current : row >= current)
        said += u' ' + shown(forward ? texts::kFindWrappedToTop : texts::kFindWrappedToBottom);
    showStatus(said);
}

void FindBar::goTo(CellAt cell)
{
    m_table.setRow(cell.row);
    m_table.setCol(cell.col);
    const auto at = std::lower_bound(m_matches.begin(), m_matches.end(), cell, before);
    m_at = at != m_matches.end() && *at == cell ? int(at - m_matches.begin()) : -1;
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_field || (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return QFrame::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool back = key->modifiers().testFlag(Qt::ShiftModifier);
    const Qt::KeyboardModifiers others = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (others != Qt::NoModifier)
        return false;
    std::function<void()> act;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F3:
        act = [this, back] { findNext(!back); };
        break;
    case Qt::Key_F8:
        act = [this, back] { nextDuplicate(!back); };
        break;
    default:
        return false;
    }
    // The field keeps these keys from the window's shortcuts, and acts on them itself.
    event->accept();
    if (event->type() == QEvent::KeyPress)
        act();
    return true;
}

} // namespace app::find
