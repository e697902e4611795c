#pragma once

// The main window. Its controls hold the working data; every user action is a handler
// method named after its control and event. The handlers are defined in the editor/ file
// of their topic; this file declares them all so the window reads as one description.

#include "app/EditorState.h"
#include "widgets/Dialogs.h"
#include "widgets/Dispatch.h"

#include <QStringList>
#include <QWidget>

class QPrinter;

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace widgets {
class Button;
class DirectoryList;
class DriveList;
class FileList;
class HelpMemo;
class Label;
class LineEdit;
class MemoPad;
class Picture;
class Prompts;
class StringGrid;
} // namespace widgets

namespace app {

namespace find {
class FindBar;
class QuestionIndex;
} // namespace find

class TForm1 final : public QWidget {
    Q_OBJECT

public:
    // When the window is first shown: by the caller once it is built, or by the constructor
    // as soon as it has its title, size and colours, so that the window is on the screen
    // while its controls and their fonts are made (its first paint waits for them either way).
    enum class Showing { WhenBuilt, WhileBuilding };
    // `prompts` answers every dialog and box; without one the window shows Qt's dialogs.
    explicit TForm1(widgets::Prompts* prompts = nullptr, Showing showing = Showing::WhenBuilt);
    ~TForm1() override;

    widgets::Prompts& prompts() const { return *m_prompts; }
    // Files named on the command line (or handed over by the desktop), or dropped while a
    // question held the window: once the window is shown, judged whole and loaded exactly as
    // files dropped on it, with the advice of the road they came by when they are refused.
    enum class FileRoad { Drop, CommandLine };
    void openFilesLater(const QStringList& paths, FileRoad road = FileRoad::CommandLine);
    // Pixels per inch of the screen / 120: every position, size and font height given for
    // 120 pixels per inch is multiplied by it.
    double scale() const { return m_scale; }
    EditorState& state() { return m_state; }
    // Finding in the question table and its duplicate marks (FindBar, QuestionIndex); the
    // bar is made when Ctrl+F first opens it.
    find::QuestionIndex& questionIndex() const { return *m_questionIndex; }
    find::FindBar* findBar() const { return m_findBar; }

    // Controls, made from the control table (ControlTable.cpp) in its order: later ones lie
    // on top of earlier ones.
    widgets::Label* Label1 = nullptr;              // "② ８つのジャンル表示": names the genre table
    widgets::Label* Label2 = nullptr;              // "③↑問題数選択して↓に加算": step ③
    widgets::Label* Label3 = nullptr;              // "⑥内容の編集と問題数ﾁｪｯｸ": names the question table
    widgets::Label* Label4 = nullptr;              // "⑧確認": names the memo pad
    widgets::Label* Label5 = nullptr;              // "ﾀｲﾄﾙ": names the title field
    widgets::Label* Label6 = nullptr;              // "ｼﾞｬﾝﾙ": names the genre field
    widgets::Label* Label7 = nullptr;              // "↓↑" beside ⑦, between the genre table and the memo pad
    widgets::Label* Label8 = nullptr;              // "↓↑" at the genre table's right, middle
    widgets::Label* Label9 = nullptr;              // "↓↑" at the genre table's right, top
    widgets::Label* Label11 = nullptr;             // "→" before ⑩ end
    widgets::Label* Label12 = nullptr;             // "→" from ④ towards the title field
    widgets::Label* Label10 = nullptr;             // "←" before ⑨ save
    widgets::Label* Label13 = nullptr;             // "≦300": the upper bound of the count
    widgets::Label* Label14 = nullptr;             // "作成対象No": names the range start field
    widgets::Label* Label15 = nullptr;             // "まで、問題数": names the count field
    widgets::Label* Label16 = nullptr;             // "から": names the range end field
    widgets::Label* Label17 = nullptr;             // "最後に、ﾀｲﾄﾙとｼﾞｬﾝﾙを変更記入": the reminder under the table
    widgets::Label* Label18 = nullptr;             // "④" of the save step's "④ へ"
    widgets::Label* Label19 = nullptr;             // "へ" of the save step's "④ へ"
    widgets::Label* Label20 = nullptr;             // "≧8": the lower bound of the count
    widgets::Picture* Image1 = nullptr;            // the help icon: brings the hidden help panel back
    widgets::Label* Label21 = nullptr;             // the application's name, shown while the help panel is hidden
    widgets::Button* Button1 = nullptr;            // ① read a bank or a mon file
    widgets::Button* Button2 = nullptr;            // ⑩ end
    widgets::LineEdit* Edit1 = nullptr;            // hidden: the last record's question text
    widgets::LineEdit* Edit2 = nullptr;            // hidden: the last record's first choice
    widgets::StringGrid* StringGrid1 = nullptr;    // the genre table: a bank's eight genres, or the mon files read
    widgets::StringGrid* StringGrid2 = nullptr;    // the question table
    widgets::Button* Button4 = nullptr;            // ④ clear the question table
    widgets::Button* Button5 = nullptr;            // ⑦ convert the range into the memo pad
    widgets::Button* Button6 = nullptr;            // ⑨ save the memo pad
    widgets::LineEdit* Edit3 = nullptr;            // the file name to save as
    widgets::LineEdit* Edit4 = nullptr;            // the title field
    widgets::LineEdit* Edit5 = nullptr;            // the genre field
    widgets::Button* Button7 = nullptr;            // 付番更新: renumber after rows were moved
    widgets::LineEdit* Edit6 = nullptr;            // the range start
    widgets::LineEdit* Edit7 = nullptr;            // the range's question count, coloured by whether it can be converted
    widgets::LineEdit* Edit8 = nullptr;            // the range end
    widgets::HelpMemo* Memo2 = nullptr;            // the help panel: guidance for the control under the mouse
    widgets::Button* Button11 = nullptr;           // print the memo pad
    widgets::Button* Button12 = nullptr;           // list the range in the memo pad
    widgets::Button* Button13 = nullptr;           // show or hide the mon file browser
    widgets::DirectoryList* DirectoryListBox1 = nullptr; // the browser's folders
    widgets::FileList* FileListBox1 = nullptr;     // the browser's mon files
    widgets::DriveList* DriveComboBox1 = nullptr;  // the browser's drives
    widgets::MemoPad* RichEdit1 = nullptr;         // the memo pad: the converted mon text
    widgets::Button* Button8 = nullptr;            // the memo pad's font

    widgets::OpenDialog OpenDialog1;
    widgets::SaveDialog SaveDialog1;
    widgets::PrintDialog PrintDialog1;
    widgets::FontDialog FontDialog1;

    // Window lifecycle.
    void FormActivate();
    void FormClose();
    void Button2Click();

    // Reading a five-choice bank.
    void janlu_list();
    void tusitu(std::int32_t offset);

    // Loading files and filling the question table.
    void Button1Click();
    void mon_list(const std::string& path);
    void default_save_name(const std::string& path);
    void StringGrid1SelectCell(int ACol, int ARow, bool* CanSelect);

    // Browser toggle.
    void Button13Click();

    // Question table editing and target range.
    void Button4Click();
    void Button7Click();
    void StringGrid2RowMoved(int FromIndex, int ToIndex);
    // After Ctrl+Z or Ctrl+Y changed the question table.
    void StringGrid2Replayed();
    void StringGrid2DblClick();
    void StringGrid2MouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void StringGrid2GetEditText(int ACol, int ARow, std::string* Value);
    void Edit6Change();
    void Edit8Change();
    void Edit6KeyDown(int* Key, Qt::KeyboardModifiers Shift);
    void Edit8KeyDown(int* Key, Qt::KeyboardModifiers Shift);
    void Edit6DblClick();
    void Edit8DblClick();

    // Conversion and saving.
    void Button5Click();
    void Button6Click();

    // Listing and printing.
    void Button12Click();
    void Button11Click();
    void Button8Click();

    // The mon file browser.
    void DriveComboBox1Change();
    void DirectoryListBox1Change();
    void FileListBox1Click();

    // Help panel: the guidance texts follow the mouse (wired from the control table).
    void Memo2DblClick();
    void Image1Click();
    void FormMouseMove(Qt::KeyboardModifiers Shift, int X, int Y);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every user action of the window runs through here: dispatch() catches what it
    // throws, and whatever it changes in the question table is one step of that table's
    // undo history.
    void runUserAction(const std::function<void()>& handler);
    // A slot for connect() that runs `handler`, with the signal's arguments, as a user action.
    template <typename Handler>
    auto userAction(Handler handler)
    {
        return [this, handler = std::move(handler)](auto&&... args) {
            runUserAction([&] { widgets::invokeWithWhatItTakes(handler, std::forward<decltype(args)>(args)...); });
        };
    }

    void createControls();
    void setInitialContents();
    void connectHandlers();
    void connectHelpTexts();
    void setTabOrder();
    // The control a row of the control table made, and the control of an object name.
    QWidget* controlOf(const struct ControlRow& row) const;
    QWidget* controlNamed(const char* name) const;
    // Where the keyboard focus goes for a control: a table's view, or the control itself.
    static QWidget* focusTarget(QWidget* control);
    // Names, descriptions and label ties a screen reader reads (see TForm1.cpp).
    void describeControls();
    // The count field's description: whether its colour lets the range be converted.
    void describeCount();
    // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous control, from inside any control.
    void addControlKeys();
    // Ctrl+F, F3 and F8, and the duplicate marks of the question table.
    void addFinding();
    find::FindBar& openFindBar();
    void focusNextControl(bool next);
    // Captions whole and legible at any density (see TForm1.cpp).
    void fitCaptions();
    int legiblePixels() const;   // the smallest pixel size of a caption
    // Pixels from the control's left edge to the next visible control on its right.
    int roomRightOf(const QWidget& control) const;

    // Help panel := text (Shift-JIS).
    void showHelp(std::string_view text);
    // True when the count field shows a valid range (lime green).
    bool rangeIsValid() const;
    // Title and genre, read before a conversion or listing changes anything; none after the
    // beep and a warning box that names the field and the character Shift-JIS cannot hold.
    struct TitleAndGenre {
        std::string title;
        std::string genre;
    };
    std::optional<TitleAndGenre> titleAndGenre();
    // Beep and the warning that a cell edit holds a character Shift-JIS cannot hold.
    void cellTextRefused(char32_t character);
    // Beep and the information box that refuses to act on an invalid range.
    void refuseInvalidRange();
    // True when the genre table has no row left for another mon file.
    bool genreTableFull() const;
    // Hides the directory list and runs the browser toggle, which then empties the table.
    void resetGenreTable();
    // What the load button does before it asks for a file: a fresh genre table when it is
    // full, and the question-table header restarted.
    void startLoading();
    // What the load button does with the file it was given, read as `kind`.
    enum class LoadedKind { Bank, Mon };
    void loadFile(const std::string& path, LoadedKind kind);
    // Why files given from outside (dropped on the window or named on the command line) cannot be taken, judged whole
    // before anything changes: a file neither reader takes, a bank among other files, or
    // files that cannot be read (each named, with the system's reason). A refusal is told by
    // a box whose advice fits the road the files came by.
    struct FileRefusal {
        std::string message;
        enum class Box { Information, Error } box = Box::Information;
    };
    std::optional<FileRefusal> refusalOfFiles(const QStringList& paths, FileRoad road);
    void refuseFiles(const FileRefusal& refusal);
    // Files taken from outside (dropped, or named on the command line), as local paths: each
    // loaded as the load button would load it.
    void FormFilesDropped(const QStringList& paths);
    // Files dragged over a control that takes dropped text go to the window as well.
    void takeFileDropsFromControls();
    // Genre-table row `row` from the mon file's first two lines in the memo pad.
    void listHeaderLines(int row);
    // The two branches of a genre-table selection.
    void addBankGenre(int row);
    void addMonFile(int row);
    // True when the numeric range fields reach a position that holds no question row.
    bool rangeReachesOutsideRows() const;
    // Beep and the information box that refuses a range reaching outside the question rows.
    void refuseRangeOutsideRows();
    // The closing steps after questions were added: blank last row, range fields, colour.
    void resetRangeToAllRows();
    // The question table's column captions, as reading starts afresh.
    void setQuestionCaptions();
    // The genre table's marker of what it lists (a bank or mon files) and the question
    // table's genre caption that goes with it.
    void markGenreTable(const std::string& marker);
    // The question rows: all rows but the header and the blank last row.
    int questionCount() const;
    // Header append and Edit5 for a genre or file added to the question table.
    void appendGenreToHeader(const std::string& genre);
    // True when the number column reads 1, 2, 3… down the question rows.
    bool numbersInOrder() const;
    // Installs one of the question table's option sets.
    void setQuestionTableMode(std::uint32_t options);
    // The count and its colour after a range field changed.
    void recountRange(std::int32_t start, std::int32_t end);

    std::unique_ptr<widgets::Prompts> m_ownPrompts;
    // The current printer, made at the first print and kept for the run.
    std::unique_ptr<QPrinter> m_printer;
    widgets::Prompts* m_prompts;
    double m_scale = 1.0;
    bool m_placed = false;
    EditorState m_state;
    find::QuestionIndex* m_questionIndex = nullptr;
    find::FindBar* m_findBar = nullptr;
};

} // namespace app
