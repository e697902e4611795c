#include "app/TForm1.h"
#include "app/TableLayout.h"

#include "app/Colours.h"
#include "app/Fonts.h"
#include "app/Icons.h"
#include "app/WindowTexts.h"
#include "widgets/Button.h"
#include "widgets/DirectoryList.h"
#include "widgets/Dispatch.h"
#include "widgets/DriveList.h"
#include "widgets/FileList.h"
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

TForm1::TForm1(widgets::Prompts* prompts)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_prompts(prompts)
    , m_scale(screenScale())
{
    if (!m_prompts) {
        m_ownPrompts = std::make_unique<widgets::QtPrompts>(this);
        m_prompts = m_ownPrompts.get();
    }
    registerFontSubstitutions();
    setWindowTitle(sjis::toUnicode(texts::kApplicationTitle));
    setWindowIcon(QIcon(windowIconPixmap()));
    setPalette(windowPalette());
    setFont(legibleFont(kGothic, 17, m_scale));
    setMouseTracking(true);
    setAcceptDrops(true);
    resize(qRound(800 * m_scale), qRound(565 * m_scale));
    // The size is the outer size, frame included, centred on the screen; no maximising.
    new widgets::FramePlacement(*this, size());

    createControls();
    setInitialContents();
    // From here on a user action that changes the question table can be undone.
    StringGrid2->setHistory(widgets::StringGrid::History::Kept);
    setTabOrder();
    connectHandlers();
    connectHelpTexts();
    describeControls();
    addControlKeys();
    takeFileDropsFromControls();
    Button1->setFocus();
}

TForm1::~TForm1() = default;

void TForm1::createControls()
{
    // Creation order decides what lies on top where controls overlap.
    Label1 = new widgets::Label(this);
    Label2 = new widgets::Label(this);
    Label3 = new widgets::Label(this);
    Label4 = new widgets::Label(this);
    Label5 = new widgets::Label(this);
    Label6 = new widgets::Label(this);
    Label7 = new widgets::Label(this);
    Label8 = new widgets::Label(this);
    Label9 = new widgets::Label(this);
    Label11 = new widgets::Label(this);
    Label12 = new widgets::Label(this);
    Label10 = new widgets::Label(this);
    Label13 = new widgets::Label(this);
    Label14 = new widgets::Label(this);
    Label15 = new widgets::Label(this);
    Label16 = new widgets::Label(this);
    Label17 = new widgets::Label(this);
    Label18 = new widgets::Label(this);
    Label19 = new widgets::Label(this);
    Label20 = new widgets::Label(this);
    Image1 = new widgets::Picture(this);
    Label21 = new widgets::Label(this);
    Button1 = new widgets::Button(this);
    Button2 = new widgets::Button(this);
    Edit1 = new widgets::LineEdit(this);
    Edit2 = new widgets::LineEdit(this);
    StringGrid1 = new widgets::StringGrid(this);
    StringGrid2 = new widgets::StringGrid(this);
    Button4 = new widgets::Button(this);
    Button5 = new widgets::Button(this);
    Button6 = new widgets::Button(this);
    Edit3 = new widgets::LineEdit(this);
    Edit4 = new widgets::LineEdit(this);
    Edit5 = new widgets::LineEdit(this);
    Button7 = new widgets::Button(this);
    Edit6 = new widgets::LineEdit(this);
    Edit7 = new widgets::LineEdit(this);
    Edit8 = new widgets::LineEdit(this);
    Memo2 = new widgets::HelpMemo(this);
    Button11 = new widgets::Button(this);
    Button12 = new widgets::Button(this);
    Button13 = new widgets::Button(this);
    DirectoryListBox1 = new widgets::DirectoryList(this);
    FileListBox1 = new widgets::FileList(this);
    DriveComboBox1 = new widgets::DriveList(this);
    RichEdit1 = new widgets::MemoPad(this);
    Button8 = new widgets::Button(this);

    // The controls carry their names, so tools and tests find them as the user knows them.
    const std::pair<QWidget*, const char*> names[] = {
        {Label1, "Label1"}, {Label2, "Label2"}, {Label3, "Label3"}, {Label4, "Label4"}, {Label5, "Label5"},
        {Label6, "Label6"}, {Label7, "Label7"}, {Label8, "Label8"}, {Label9, "Label9"}, {Label10, "Label10"},
        {Label11, "Label11"}, {Label12, "Label12"}, {Label13, "Label13"}, {Label14, "Label14"},
        {Label15, "Label15"}, {Label16, "Label16"}, {Label17, "Label17"}, {Label18, "Label18"},
        {Label19, "Label19"}, {Label20, "Label20"}, {Label21, "Label21"}, {Image1, "Image1"},
        {Button1, "Button1"}, {Button2, "Button2"}, {Button4, "Button4"}, {Button5, "Button5"},
        {Button6, "Button6"}, {Button7, "Button7"}, {Button8, "Button8"}, {Button11, "Button11"},
        {Button12, "Button12"}, {Button13, "Button13"}, {Edit1, "Edit1"}, {Edit2, "Edit2"}, {Edit3, "Edit3"},
        {Edit4, "Edit4"}, {Edit5, "Edit5"}, {Edit6, "Edit6"}, {Edit7, "Edit7"}, {Edit8, "Edit8"},
        {StringGrid1, "StringGrid1"}, {StringGrid2, "StringGrid2"}, {Memo2, "Memo2"}, {RichEdit1, "RichEdit1"},
        {DirectoryListBox1, "DirectoryListBox1"}, {FileListBox1, "FileListBox1"},
        {DriveComboBox1, "DriveComboBox1"}};
    for (const auto& [control, name] : names)
        control->setObjectName(QString::fromLatin1(name));

    const auto place = [this](QWidget* control, int left, int top, int width, int height) {
        control->setGeometry(qRound(left * m_scale), qRound(top * m_scale), qRound(width * m_scale),
                             qRound(height * m_scale));
    };
    const auto ownFont = [this](QWidget* control, int height, const QString& face, const QColor& color,
                                bool bold = false) {
        control->setFont(legibleFont(face, height, m_scale, bold));
        QPalette colours = control->palette();
        colours.setColor(QPalette::WindowText, color);
        colours.setColor(QPalette::Text, color);
        colours.setColor(QPalette::ButtonText, color);
        control->setPalette(colours);
    };
    const QColor black = Qt::black;

    place(Label1, 221, 43, 142, 15);    ownFont(Label1, 15, kGothic, black);
    place(Label2, 8, 297, 189, 15);     ownFont(Label2, 15, kGothic, black);
    place(Label3, 124, 495, 202, 17);
    place(Label4, 444, 56, 51, 17);     ownFont(Label4, 17, kGothic, black);
    place(Label5, 444, 298, 38, 17);
    place(Label6, 604, 297, 44, 17);
    place(Label7, 370, 238, 83, 40);    ownFont(Label7, 40, kGothic, kMaroon, true);
    place(Label8, 368, 164, 83, 40);    ownFont(Label8, 40, kGothic, kMaroon, true);
    place(Label9, 368, 91, 83, 40);     ownFont(Label9, 40, kGothic, kMaroon, true);
    place(Label11, 673, 11, 27, 27);    ownFont(Label11, 27, kGothic, kMaroon);
    place(Label12, 390, 283, 45, 43);   ownFont(Label12, 43, kGothic, kMaroon, true);
    place(Label10, 447, 13, 29, 27);    ownFont(Label10, 27, kGothic, kMaroon, true);
    place(Label13, 735, 513, 44, 17);
    place(Label14, 381, 506, 88, 17);   ownFont(Label14, 17, kGothic, kRed);
    place(Label15, 592, 507, 92, 17);   ownFont(Label15, 17, kGothic, kRed);
    place(Label16, 518, 508, 31, 17);   ownFont(Label16, 17, kGothic, kRed);
    place(Label17, 111, 514, 238, 17);  ownFont(Label17, 17, kGothic, black);
    place(Label18, 431, 12, 17, 17);
    place(Label19, 431, 30, 17, 17);
    place(Label20, 736, 496, 26, 17);
    Image1->move(qRound(5 * m_scale), qRound(15 * m_scale));
    place(Label21, 37, 24, 185, 15);    ownFont(Label21, 15, kGothic, black, true);
    place(Button1, 221, 11, 84, 25);    ownFont(Button1, 17, kGothic, black);
    place(Button2, 703, 12, 81, 25);
    place(Edit1, 377, 54, 48, 25);
    place(Edit2, 370, 47, 43, 25);
    place(StringGrid1, 9, 61, 358, 228);  ownFont(StringGrid1, 15, kGothic, black);
    place(StringGrid2, 6, 328, 778, 165); ownFont(StringGrid2, 17, kMincho, black);
    place(Button4, 202, 294, 177, 22);  ownFont(Button4, 15, kGothic, black);
    place(Button5, 452, 261, 229, 25);
    place(Button6, 480, 13, 178, 25);
    place(Edit3, 496, 53, 201, 21);     ownFont(Edit3, 15, kGothic, black);
    place(Edit4, 484, 294, 113, 23);
    place(Edit5, 651, 293, 130, 24);
    place(Button7, 13, 502, 83, 24);    ownFont(Button7, 17, kGothic, black, true);
    place(Edit6, 472, 500, 44, 25);
    place(Edit7, 688, 500, 47, 26);     ownFont(Edit7, 18, kGothic, black, true);
    place(Edit8, 552, 500, 41, 25);
    place(Memo2, 5, 6, 216, 50);        ownFont(Memo2, 13, kGothic, kYellow);
    // The help panel keeps its small face: its box is fixed and has no scroll bars, and each
    // guidance text must show whole (the welcome text's lines fill its width at 13 pixels).
    Memo2->setFont(windowFont(kGothic, 13, m_scale));
    place(Button11, 744, 52, 41, 25);
    place(Button12, 690, 260, 91, 26);  ownFont(Button12, 17, kGothic, black);
    place(Button13, 314, 11, 83, 25);
    place(DirectoryListBox1, 270, 82, 173, 123);
    place(FileListBox1, 270, 204, 172, 113);
    place(DriveComboBox1, 270, 58, 174, 23);
    place(RichEdit1, 452, 80, 333, 173); ownFont(RichEdit1, 15, kMincho, black);
    place(Button8, 700, 52, 41, 25);

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
    Button1->setCaption(texts::kButton1);
    Button13->setCaption(texts::kBrowseCaption);
    Button2->setCaption(texts::kButton2);
    Button4->setCaption(texts::kButton4);
    Button5->setCaption(texts::kButton5);
    Button6->setCaption(texts::kButton6);
    Button7->setCaption(texts::kButton7);
    Button8->setCaption(texts::kButton8);
    Button11->setCaption(texts::kButton11);
    Button12->setCaption(texts::kButton12);
    Memo2->setText(texts::kWelcome);
    RichEdit1->Add({}); // one empty line, saved as CR LF
    Label21->setCaption(texts::kLabel21);
    Edit3->setText(texts::kEdit3);
    Edit6->setText("1");
    Edit8->setText("1");
    Edit1->setText("Edit1");
    Edit2->setText("Edit2");
    Label1->setCaption(texts::kLabel1);
    Label2->setCaption(texts::kLabel2);
    Label3->setCaption(texts::kLabel3);
    Label4->setCaption(texts::kLabel4);
    Label5->setCaption(texts::kLabel5);
    Label6->setCaption(texts::kLabel6);
    Label7->setCaption(texts::kFlowArrows);
    Label8->setCaption(texts::kFlowArrows);
    Label9->setCaption(texts::kFlowArrows);
    Label10->setCaption(texts::kLabel10);
    Label11->setCaption(texts::kRightArrow);
    Label12->setCaption(texts::kRightArrow);
    Label14->setCaption(texts::kLabel14);
    Label16->setCaption(texts::kLabel16);
    Label15->setCaption(texts::kLabel15);
    Label20->setCaption(texts::kLabel20);
    Label13->setCaption(texts::kLabel13);
    Label17->setCaption(texts::kLabel17);
    Label18->setCaption(texts::kLabel18);
    Label19->setCaption(texts::kLabel19);

    OpenDialog1.filter = texts::kOpenFilter;
    OpenDialog1.allowMultiSelect = true;
    SaveDialog1.filter = texts::kSaveFilter;
    SaveDialog1.overwritePrompt = true;
    FontDialog1.font = windowFont(kGothic, 15, m_scale);
    FontDialog1.color = palette().color(QPalette::WindowText);

    Button7->hide();
    Image1->hide();
    Label21->hide();
    Edit1->hide();
    Edit2->hide();
    DriveComboBox1->hide();
    DirectoryListBox1->hide();
    FileListBox1->hide();
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
    QWidget* const order[] = {Button1, Button2, Edit1, Edit2, StringGrid1, StringGrid2, Button4,
                              Button5, Button6, Edit3, Edit4, Edit5, Button7, Edit6, Edit7, Edit8,
                              Memo2, Button11, Button12, Button13, DirectoryListBox1, FileListBox1,
                              DriveComboBox1, RichEdit1, Button8};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm1::describeControls()
{
    // A screen reader speaks a control's accessible name and description (Qt gives the same
    // to UI Automation on Windows). Buttons and labels speak their captions; the fields speak
    // their label's caption, and the other controls a short name. The description is the
    // guidance text the help panel shows for the control.
    const auto describe = [](QWidget* control, const std::string& name, const std::string& description) {
        if (!name.empty())
            control->setAccessibleName(sjis::toUnicode(name));
        if (!description.empty())
            control->setAccessibleDescription(sjis::toUnicode(description));
    };
    const std::pair<widgets::Button*, const texts::Text*> buttons[] = {
        {Button1, &texts::kHelpButton1}, {Button2, &texts::kHelpButton2}, {Button4, &texts::kHelpButton4},
        {Button5, &texts::kHelpButton5}, {Button6, &texts::kHelpButton6}, {Button7, &texts::kHelpButton7},
        {Button8, &texts::kHelpButton8}, {Button11, &texts::kHelpButton11}, {Button12, &texts::kHelpButton12},
        {Button13, &texts::kHelpButton13}};
    for (const auto& [button, help] : buttons)
        describe(button, {}, *help);
    describe(Edit3, texts::kSaveNameFieldName, texts::kHelpEdit3);
    describe(Edit4, texts::kLabel5, texts::kHelpEdit4);
    describe(Edit5, texts::kLabel6, texts::kHelpEdit4);
    describe(Edit6, texts::kStartFieldName, texts::kHelpEdit6);
    describe(Edit8, texts::kEndFieldName, texts::kHelpEdit8);
    describe(Edit7, texts::kCountFieldName, {});
    describeCount();
    connect(Edit7, &widgets::LineEdit::colorChanged, this, [this] { describeCount(); });
    // The tables speak through their views, which hold the keyboard focus.
    for (const auto& [grid, name, help] : {std::tuple{StringGrid1, &texts::kGenreTableName, &texts::kHelpLabel8},
                                           std::tuple{StringGrid2, &texts::kQuestionTableName, &texts::kHelpStringGrid2}}) {
        describe(grid, *name, *help);
        describe(grid->view(), *name, *help);
    }
    describe(Memo2, texts::kHelpPanelName, texts::kHelpMemo2);
    describe(RichEdit1, texts::kMemoPadName, texts::kHelpRichEdit1);
    describe(DriveComboBox1, texts::kDriveListName, {});
    describe(DirectoryListBox1, texts::kDirectoryListName, texts::kHelpDirectoryListBox1);
    describe(FileListBox1, texts::kFileListName, texts::kHelpFileListBox1);
    describe(Image1, texts::kHelpIconName, {});

    // Each caption is tied to the control it names, for the reader's "labelled by".
    Label1->setBuddy(StringGrid1->view());
    Label3->setBuddy(StringGrid2->view());
    Label4->setBuddy(RichEdit1);
    Label5->setBuddy(Edit4);
    Label6->setBuddy(Edit5);
    Label14->setBuddy(Edit6);
    Label16->setBuddy(Edit8);
    Label15->setBuddy(Edit7);
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
    connect(Button1, &QPushButton::clicked, this, userAction([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, userAction([this] { Button2Click(); }));
    connect(Button4, &QPushButton::clicked, this, userAction([this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, userAction([this] { Button5Click(); }));
    connect(Button6, &QPushButton::clicked, this, userAction([this] { Button6Click(); }));
    connect(Button7, &QPushButton::clicked, this, userAction([this] { Button7Click(); }));
    connect(Button8, &QPushButton::clicked, this, userAction([this] { Button8Click(); }));
    connect(Button11, &QPushButton::clicked, this, userAction([this] { Button11Click(); }));
    connect(Button12, &QPushButton::clicked, this, userAction([this] { Button12Click(); }));
    connect(Button13, &QPushButton::clicked, this, userAction([this] { Button13Click(); }));

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
    // text in its editor; the warning names the character.
    for (widgets::StringGrid* grid : {StringGrid1, StringGrid2})
        connect(grid, &widgets::StringGrid::unencodableText, this,
                userAction([this](int, int, char32_t character) { cellTextRefused(character); }));

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
