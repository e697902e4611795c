#include "app/TForm1.h"

#include "app/ControlTable.h"
#include "app/TableLayout.h"

#include "app/Colours.h"
#include "app/Fonts.h"
#include "app/Icons.h"
#include "app/WindowTexts.h"
#include "app/find/FindBar.h"
#include "app/find/QuestionIndex.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/Dispatch.h"
#include "widgets/DriveList.h"
#include "widgets/FileList.h"
#include "widgets/FocusRing.h"
#include "widgets/FramePlacement.h"
#include "widgets/grid/GridOptions.h"
#include "widgets/HelpMemo.h"
#include "widgets/Label.h"
#include "widgets/LineEdit.h"
#include "widgets/MemoPad.h"
#include "widgets/Picture.h"
#include "widgets/QtPrompts.h"
#include "codec/ShiftJis.h"
#include "widgets/grid/StringGrid.h"
#include "widgets/grid/StringGridAccessible.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QTableView>

#include <algorithm>
#include <tuple>

namespace app {

namespace {

using namespace colours;

// The question table's options before the mouse first moves over it: everything of the
// row-moving set, plus range marking, focus drawn selected, row sizing, Tab between cells
// and the editor shown at once (editing itself stays off).
constexpr std::uint32_t kQuestionTableInitialOptions = 0x6BFF;

// The genre table: lines, range marking, row and column sizing, editing on demand, thumb
// tracking; no moving, Tab leaves the table.
constexpr std::uint32_t kGenreTableOptions = widgets::goFixedVertLine | widgets::goFixedHorzLine
    | widgets::goVertLine | widgets::goHorzLine | widgets::goRangeSelect | widgets::goRowSizing
    | widgets::goColSizing | widgets::goEditing | widgets::goThumbTracking;

// The smallest text the window shows: 15 pixels at 120 pixels per inch, 9 points at any
// density, the size of Japanese system text; smaller, kanji strokes run together.
constexpr int kLegibleHeightAt120 = 15;

QFont legibleFont(const QString& face, int pixelHeightAt120, double scale, bool bold = false)
{
    return windowFont(face, std::max(pixelHeightAt120, kLegibleHeightAt120), scale, bold);
}

double screenScale()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() / 120.0 : 1.0;
}

} // namespace

TForm1::TForm1(widgets::Prompts* prompts, Showing showing)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_prompts(prompts)
    , m_scale(screenScale())
{
    if (!m_prompts) {
        m_ownPrompts = std::make_unique<widgets::QtPrompts>(this);
        m_prompts = m_ownPrompts.get();
    }
    setWindowTitle(sjis::toUnicode(texts::kApplicationTitle));
    setPalette(windowPalette());
    setFont(legibleFont(kGothic, 17, m_scale));
    setMouseTracking(true);
    setAcceptDrops(true);
    resize(qRound(800 * m_scale), qRound(565 * m_scale));
    // The size is the outer size, frame included, centred on the screen; no maximising.
    new widgets::FramePlacement(*this, size());
    // Shown now, the window is mapped at once (Qt's X11 and Windows backends map it within
    // show()); it paints when the message loop first runs, after everything below.
    if (showing == Showing::WhileBuilding)
        show();

    registerFontSubstitutions();
    createControls();
    setInitialContents();
    // From here on a user action that changes the question table can be undone.
    StringGrid2->setHistory(widgets::StringGrid::History::Kept);
    setTabOrder();
    connectHandlers();
    connectHelpTexts();
    describeControls();
    addControlKeys();
    addFinding();
    takeFileDropsFromControls();
    // The focused control is ringed, 3 pixels wide on the window's usual scale.
    new widgets::FocusRing(*this, qRound(3 * m_scale) + 1);
    Button1->setFocus();
    // Last: the start-up work paints its pictures meanwhile (the window shows it from show()).
    setWindowIcon(applicationIcon());
}

TForm1::~TForm1()
{
    // The controls outlive this body (Qt deletes them with the window's QWidget part); an
    // editor closing among them must not reach back into a window that is no more.
    for (widgets::StringGrid* grid : {StringGrid1, StringGrid2})
        grid->setErrorBoundary({});
}

void TForm1::createControls()
{
    for (const ControlRow& row : controlTable()) {
        QWidget* const control = std::visit(
            [this](auto member) -> QWidget* {
                using Control = std::remove_pointer_t<std::remove_reference_t<decltype(this->*member)>>;
                return this->*member = new Control(this);
            },
            row.member);
        control->setObjectName(QString::fromLatin1(row.name));
        const Box& box = row.box;
        if (box.width > 0)
            control->setGeometry(qRound(box.left * m_scale), qRound(box.top * m_scale), qRound(box.width * m_scale),
                                 qRound(box.height * m_scale));
        else
            control->move(qRound(box.left * m_scale), qRound(box.top * m_scale));
        if (const Look& look = row.look; look.height > 0) {
            control->setFont(legibleFont(*look.face, look.height, m_scale, look.bold));
            QPalette colours = control->palette();
            colours.setColor(QPalette::WindowText, look.colour);
            colours.setColor(QPalette::Text, look.colour);
            colours.setColor(QPalette::ButtonText, look.colour);
            control->setPalette(colours);
        }
    }
    // The help panel keeps its small face: its box is fixed and has no scroll bars, and each
    // guidance text must show whole (the welcome text's lines fill its width at 13 pixels).
    Memo2->setFont(windowFont(kGothic, 13, m_scale));

    DirectoryListBox1->setItemHeight(qRound(17 * m_scale));
    FileListBox1->setItemHeight(qRound(17 * m_scale));

    // Captions take no keyboard focus; Tab runs over the controls of the tab order only.
    for (widgets::Label* label : findChildren<widgets::Label*>())
        label->setFocusPolicy(Qt::NoFocus);
    Image1->setFocusPolicy(Qt::NoFocus);

    // The genre table.
    StringGrid1->setColCount(kGenreColumns);
    StringGrid1->setRowCount(kGenreTableRows);
    const int genreWidths[kGenreColumns] = {72, 129, 52, 51, 45};
    for (int col = 0; col < kGenreColumns; ++col)
        StringGrid1->setColWidths(col, qRound(genreWidths[col] * m_scale));
    StringGrid1->setDefaultRowHeight(qRound(24 * m_scale));
    StringGrid1->setRowHeights(kHeaderRow + 1, qRound(23 * m_scale));
    StringGrid1->setOptions(widgets::GridOptions::fromInt(kGenreTableOptions));
    StringGrid1->setScrollBars(widgets::StringGrid::ScrollBars::Vertical);

    // The question table.
    StringGrid2->setColCount(kQuestionColumns);
    StringGrid2->setRowCount(kQuestionFrameRows);
    const int questionWidths[kQuestionColumns] = {47, 463, 121, 72, 505};
    for (int col = 0; col < kQuestionColumns; ++col)
        StringGrid2->setColWidths(col, qRound(questionWidths[col] * m_scale));
    StringGrid2->setDefaultRowHeight(qRound(21 * m_scale));
    StringGrid2->setColor(kActiveBorder);
    StringGrid2->setFixedColor(kGrey);
    StringGrid2->setOptions(widgets::GridOptions::fromInt(kQuestionTableInitialOptions));
    StringGrid2->setScrollBars(widgets::StringGrid::ScrollBars::Both);
    // Loading fills the blank last row and then empties the new last one: were a question
    // dragged below the blank row, or the blank row above a question, the next load would
    // overwrite that question. So the blank row stays last.
    StringGrid2->setLastRow(widgets::StringGrid::LastRow::Pinned);

    // Fields.
    Edit3->setBorder(widgets::Border::Flat);
    Edit3->setImeMode(widgets::ImeMode::HalfWidthAlpha);
    Edit4->setImeMode(widgets::ImeMode::Hiragana);
    Edit5->setImeMode(widgets::ImeMode::Hiragana);
    Edit6->setImeMode(widgets::ImeMode::Off);
    Edit8->setImeMode(widgets::ImeMode::Off);
    Edit6->setUnencodable(widgets::Unencodable::ReadAsQuestionMark);
    Edit8->setUnencodable(widgets::Unencodable::ReadAsQuestionMark);
    Edit7->setEditState(widgets::EditState::Disabled);
    Edit7->setCursor(Qt::ForbiddenCursor);
    Edit7->setColor(kOlive);
    RichEdit1->setImeMode(widgets::ImeMode::Hiragana);

    Image1->setPicture(helpIconPixmap());
}

void TForm1::setInitialContents()
{
    // The smallest size a caption shrinks to, known before the captions are first fitted.
    for (widgets::Button* button : findChildren<widgets::Button*>())
        button->setMinimumCaptionPixels(legiblePixels());
    for (const ControlRow& row : controlTable()) {
        if (!row.caption)
            continue;
        std::visit(
            [this, &row](auto member) {
                if constexpr (requires { (this->*member)->setCaption(std::string_view()); })
                    (this->*member)->setCaption(*row.caption);
            },
            row.member);
    }
    Memo2->setText(texts::kWelcome);
    RichEdit1->Add({}); // one empty line, saved as CR LF
    Edit3->setText(texts::kEdit3);
    Edit6->setText("1");
    Edit8->setText("1");
    Edit1->setText("Edit1");
    Edit2->setText("Edit2");

    OpenDialog1.filter = texts::kOpenFilter;
    OpenDialog1.allowMultiSelect = true;
    SaveDialog1.filter = texts::kSaveFilter;
    SaveDialog1.overwritePrompt = true;
    FontDialog1.font = windowFont(kGothic, 15, m_scale);
    FontDialog1.color = palette().color(QPalette::WindowText);

    // Every control's visibility is set, not left to the window's show: a control made in a
    // window already shown stays hidden until it is shown itself.
    for (const ControlRow& row : controlTable())
        controlOf(row)->setVisible(!row.hidden);
    fitCaptions();
}

int TForm1::roomRightOf(const QWidget& control) const
{
    int right = width();
    const QRect box = control.geometry();
    for (const QWidget* other : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect at = other->geometry();
        if (other == &control || other->isHidden() || at.left() <= box.left())
            continue;
        if (at.top() < box.bottom() && at.bottom() > box.top())
            right = std::min(right, at.left());
    }
    return right - box.left();
}

int TForm1::legiblePixels() const
{
    return legibleFont(kGothic, kLegibleHeightAt120, m_scale).pixelSize();
}

void TForm1::fitCaptions()
{
    // A Japanese face other than the one the layout was made for, and sizes rounded to
    // whole pixels, can make a caption wider than its place. A caption that would run under
    // the next control is set smaller, never below the legible size; a button whose caption
    // still does not fit grows to the right, as far as the next control.
    const int legible = legiblePixels();
    for (widgets::Label* label : findChildren<widgets::Label*>()) {
        // The layout's own box is room enough: where it overlaps the next control (the
        // "④" and "へ" beside the arrow), the text drawn in it was laid out so.
        const int room = std::max(roomRightOf(*label), label->width());
        QFont font = label->font();
        while (font.pixelSize() > legible && QFontMetrics(font).horizontalAdvance(label->text()) > room)
            font.setPixelSize(font.pixelSize() - 1);
        if (font != label->font())
            label->setFont(font);
        // Wider to the text, but no higher: the text stays centred on its line.
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
    }
    for (widgets::Button* button : findChildren<widgets::Button*>()) {
        button->setMinimumCaptionPixels(legible);
        if (button->captionWidth() > button->width())
            button->resize(std::min(button->captionWidth(), std::max(button->width(), roomRightOf(*button))),
                           button->height());
    }
}

void TForm1::setTabOrder()
{
    QWidget* previous = nullptr;
    for (const ControlRow& row : controlTable()) {
        if (!row.tabStop)
            continue;
        QWidget* const control = controlOf(row);
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

QWidget* TForm1::controlOf(const ControlRow& row) const
{
    return std::visit([this](auto member) -> QWidget* { return this->*member; }, row.member);
}

QWidget* TForm1::controlNamed(const char* name) const
{
    return findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

QWidget* TForm1::focusTarget(QWidget* control)
{
    if (auto* grid = qobject_cast<widgets::StringGrid*>(control))
        return grid->view();
    return control;
}

void TForm1::describeControls()
{
    // A screen reader speaks a control's accessible name and description (Qt gives the same
    // to UI Automation on Windows). Buttons and labels speak their captions; the fields speak
    // their label's caption, and the other controls a short name. The description is the
    // guidance text the help panel shows for the control; a label, which never holds the
    // focus, has none.
    const auto describe = [](QWidget* control, const ControlRow& row) {
        if (row.accessibleName)
            control->setAccessibleName(sjis::toUnicode(*row.accessibleName));
        if (row.guidance)
            control->setAccessibleDescription(sjis::toUnicode(*row.guidance));
    };
    for (const ControlRow& row : controlTable()) {
        QWidget* const control = controlOf(row);
        if (auto* label = qobject_cast<widgets::Label*>(control)) {
            // Each caption is tied to the control it names, for the reader's "labelled by";
            // a table is named through its view, which holds the keyboard focus.
            if (row.buddy)
                label->setBuddy(focusTarget(controlNamed(row.buddy)));
            label->setDecorative(row.decorative);
            continue;
        }
        // On Linux a reader names a drop-down list by its current text ("/") and by the
        // caption tied to it; the drive list has none on the window, so it gets an unseen one.
        if (auto* drives = qobject_cast<widgets::DriveList*>(control)) {
            auto* caption = new QLabel(sjis::toUnicode(*row.accessibleName), this);
            caption->setObjectName(QStringLiteral("DriveComboBox1Caption"));
            caption->hide();
            caption->setBuddy(drives);
        }
        describe(control, row);
        if (auto* grid = qobject_cast<widgets::StringGrid*>(control)) {
            describe(grid->view(), row);
            widgets::listEditorForScreenReaders(*grid);
        }
    }
    describeCount();
    connect(Edit7, &widgets::LineEdit::colorChanged, this, [this] { describeCount(); });
}

void TForm1::describeCount()
{
    const QColor colour = Edit7->Color();
    const std::string& said = colour == colours::kLime  ? texts::kCountValid
                              : colour == colours::kRed ? texts::kCountInvalid
                                                        : texts::kCountNotYet;
    const QString description = sjis::toUnicode(said);
    if (description == Edit7->accessibleDescription())
        return;
    Edit7->setAccessibleDescription(description);
    // Said to a screen reader that is listening, as the colour shows it.
    QAccessibleEvent changed(Edit7, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void TForm1::addControlKeys()
{
    // Tab moves between the cells of the question table until the mouse first passes over
    // it; these keys leave any control, that table and a cell's editor included.
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), this);
    connect(next, &QShortcut::activated, this, [this] { focusNextControl(true); });
    connect(previous, &QShortcut::activated, this, [this] { focusNextControl(false); });
}

void TForm1::addFinding()
{
    m_questionIndex = new find::QuestionIndex(*StringGrid2, this);
    StringGrid2->setRowMarks({[index = m_questionIndex](int row) { return index->isDuplicate(row); },
                              colours::kDuplicateMark, sjis::toUnicode(texts::kDuplicateMark)});
    connect(m_questionIndex, &find::QuestionIndex::marksChanged, StringGrid2, &widgets::StringGrid::repaintRowMarks);
    const auto key = [this](QKeySequence keys, auto act) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, act] { runUserAction([&] { act(openFindBar()); }); });
    };
    key(QKeySequence::Find, [](find::FindBar& bar) { bar.open(); });
    key(QKeySequence(Qt::Key_F3), [](find::FindBar& bar) { bar.findNext(true); });
    key(QKeySequence(Qt::SHIFT | Qt::Key_F3), [](find::FindBar& bar) { bar.findNext(false); });
    key(QKeySequence(Qt::Key_F8), [](find::FindBar& bar) { bar.nextDuplicate(true); });
    key(QKeySequence(Qt::SHIFT | Qt::Key_F8), [](find::FindBar& bar) { bar.nextDuplicate(false); });
}

find::FindBar& TForm1::openFindBar()
{
    if (!m_findBar) {
        m_findBar = new find::FindBar(*StringGrid2, *m_questionIndex, this);
        m_findBar->setFont(legibleFont(kGothic, kLegibleHeightAt120, m_scale));
    }
    // Under the question table, over its two captions and up to the range fields: never
    // over a row of the table, and nothing of the window moves for it.
    const QRect table = StringGrid2->geometry();
    const int top = table.bottom() + 1 + qRound(2 * m_scale);
    m_findBar->setGeometry(table.left(), top, Label14->x() - qRound(4 * m_scale) - table.left(),
                           std::min(m_findBar->sizeHint().height(), height() - top));
    if (!m_findBar->isVisible())
        m_findBar->open();
    return *m_findBar;
}

void TForm1::focusNextControl(bool next)
{
    // The focus moves on from the control itself, not from a part of it: a cell's editor
    // gives the focus back to its table first, which stores the text typed.
    QWidget* const focused = focusWidget();
    QWidget* control = focused;
    while (control && control->parentWidget() != this)
        control = control->parentWidget();
    if (control && control != focused) {
        QWidget* own = control;
        while (own->focusProxy())
            own = own->focusProxy();
        if (own != focused)
            own->setFocus(Qt::OtherFocusReason);
    }
    focusNextPrevChild(next);
}

void TForm1::runUserAction(const std::function<void()>& handler)
{
    const widgets::StringGrid::Step step(*StringGrid2);
    widgets::dispatch(*m_prompts, handler);
}

void TForm1::connectHandlers()
{
    for (const ControlRow& row : controlTable()) {
        if (row.click)
            connect(qobject_cast<QAbstractButton*>(controlOf(row)), &QAbstractButton::clicked, this,
                    userAction([this, click = row.click] { (this->*click)(); }));
    }

    connect(StringGrid1, &widgets::StringGrid::selectCell, this,
            userAction([this](int col, int row, bool* canSelect) { StringGrid1SelectCell(col, row, canSelect); }));
    connect(StringGrid2, &widgets::StringGrid::doubleClicked, this, userAction([this] { StringGrid2DblClick(); }));
    // F2, the keyboard's double click, switches the table to cell editing the same way.
    connect(StringGrid2, &widgets::StringGrid::editKeyPressed, this, userAction([this] { StringGrid2DblClick(); }));
    connect(StringGrid2, &widgets::StringGrid::rowMoved, this,
            userAction([this](int from, int to) { StringGrid2RowMoved(from, to); }));
    connect(StringGrid2, &widgets::StringGrid::replayed, this, userAction([this] { StringGrid2Replayed(); }));
    connect(StringGrid2, &widgets::StringGrid::mouseMoved, this,
            userAction([this](Qt::KeyboardModifiers shift, int x, int y) { StringGrid2MouseMove(shift, x, y); }));
    connect(StringGrid2, &widgets::StringGrid::getEditText, this,
            userAction([this](int col, int row, std::string* text) { StringGrid2GetEditText(col, row, text); }));

    // A typed character that Shift-JIS cannot hold is refused by the grid, which keeps the
    // text in its editor; the warning names the character. What the grids do on their own
    // at a gesture (storing an edit, moving a dropped row) ends at the same boundary as
    // every handler.
    for (widgets::StringGrid* grid : {StringGrid1, StringGrid2}) {
        grid->setErrorBoundary([this](const std::function<void()>& work) { runUserAction(work); });
        connect(grid, &widgets::StringGrid::unencodableText, this,
                userAction([this](int, int, char32_t character) { cellTextRefused(character); }));
    }

    connect(Edit6, &widgets::LineEdit::changed, this, userAction([this] { Edit6Change(); }));
    connect(Edit8, &widgets::LineEdit::changed, this, userAction([this] { Edit8Change(); }));
    connect(Edit6, &widgets::LineEdit::keyDown, this,
            userAction([this](int* key, Qt::KeyboardModifiers shift) { Edit6KeyDown(key, shift); }));
    connect(Edit8, &widgets::LineEdit::keyDown, this,
            userAction([this](int* key, Qt::KeyboardModifiers shift) { Edit8KeyDown(key, shift); }));
    connect(Edit6, &widgets::LineEdit::doubleClicked, this, userAction([this] { Edit6DblClick(); }));
    connect(Edit8, &widgets::LineEdit::doubleClicked, this, userAction([this] { Edit8DblClick(); }));

    connect(DriveComboBox1, &widgets::DriveList::changed, this, userAction([this] { DriveComboBox1Change(); }));
    connect(DirectoryListBox1, &widgets::DirectoryList::changed, this,
            userAction([this] { DirectoryListBox1Change(); }));
    connect(FileListBox1, &widgets::FileList::clicked, this, userAction([this] { FileListBox1Click(); }));

    connect(Memo2, &widgets::HelpMemo::doubleClicked, this, userAction([this] { Memo2DblClick(); }));
    connect(Image1, &widgets::Picture::clicked, this, userAction([this] { Image1Click(); }));
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    // A window shown while it is built has no controls yet; its constructor ends by focusing
    // Button1 then.
    if (Button1)
        Button1->setFocus();
}

void TForm1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        runUserAction([this] { FormActivate(); });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    runUserAction([this] { FormClose(); });
    event->accept();
}

void TForm1::mouseMoveEvent(QMouseEvent* event)
{
    // Moves reach the window from its children too, when a control lets them pass; only
    // the bare surface, where no control lies, belongs to the window's own handler.
    const QPoint at = event->position().toPoint();
    if (!childAt(at))
        runUserAction([&] { FormMouseMove(event->modifiers(), at.x(), at.y()); });
    event->accept();
}

void TForm1::showHelp(std::string_view text)
{
    Memo2->setText(text);
}

} // namespace app
