#pragma once

// The memo pad: a text area used as a list of Shift-JIS lines, whose characters still take
// fonts and colours. It lays out only the lines it shows (QPlainTextEdit), so that 5 MiB of
// 16 KiB lines load, convert and scroll at once instead of being laid out whole first.
//
// Lines are the blocks of the document; a break at the very end starts no further line,
// as in a text file, so an empty memo has no lines and each added line ends with a break.
// Count() and Line() read the document's block table directly, so they stay cheap with
// hundreds of thousands of lines.
//
// The plain-text switch chooses what SaveToFile writes: with it on, the bare lines, each
// followed by CR LF, in Shift-JIS; with it off, the formatted document in Qt's rich-text
// form (HTML, UTF-8). Loading always reads a file as plain text lines.
//
// The text stays free of formatting the lines interface cannot express: pasting and
// dropping insert plain text, and Shift+Enter starts a new line like Enter.

#include "widgets/Dialogs.h"
#include "widgets/ImeMode.h"
#include "widgets/Progress.h"

#include <QPlainTextEdit>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPrinter;
class QTextDocument;

namespace widgets {

enum class PlainTextSwitch { Off, On };

class MemoPad final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit MemoPad(QWidget* parent = nullptr);

    void Clear();
    // Appends a line; line breaks in it (CR LF, CR or LF) make it several lines.
    void Add(std::string_view line);
    // Appends many lines as one edit of the document.
    void AddLines(const std::vector<std::string>& lines);
    int Count() const;
    // Line `index` counting from 0; empty text for an index outside the lines. Throws
    // UnencodableTextError when the line holds a character Shift-JIS cannot hold.
    std::string Line(int index) const;
    // Every line, in one pass over the document.
    std::vector<std::string> Lines() const;
    // The whole text as toPlainText() gives it, kept until the document changes: asking
    // again for 5 MiB that did not change costs nothing.
    QString wholeText() const;

    // Replaces the contents with the file's lines (split at CR LF, lone LF or lone CR).
    // Throws text::EditorError "ﾌｧｲﾙ %s は開けません" when the file cannot be read.
    void LoadFromFile(std::string_view path);
    // Replaces the contents with the lines of a file's text already read.
    void LoadText(std::string_view text);
    // Writes the contents (see the plain-text switch) with platform::saveFile, so a failed
    // save leaves an existing file exactly as it was, links and owner included. Before
    // anything is written, a line holding a character Shift-JIS cannot hold throws
    // UnencodableTextError; a file that cannot be written, or a target that is no regular
    // file, throws text::EditorError "ﾌｧｲﾙ %s を作成できません".
    void SaveToFile(std::string_view path) const;

    void setPlainText(PlainTextSwitch state) { m_plainText = state; }
    bool PlainText() const { return m_plainText == PlainTextSwitch::On; }

    // Face, colour, style and size of the chosen font, applied as four separate changes to
    // the selection, or to the caret's format for the text typed next.
    void setSelectionFont(const ChosenFont& font);

    // Prints the whole document as one job titled `jobTitle`, laid out over the printer's
    // whole page (no margins of its own) and wrapped at the page width, reporting to
    // `progress` before each page how many of the document's characters went out. Returns
    // false when the user stopped it: the job is then aborted.
    bool print(QPrinter& printer, const QString& jobTitle, Progress& progress) const;

    // The memo pad's own font object, the base of its text.
    const QFont& baseFont() const { return font(); }

    void setImeMode(ImeMode mode) { applyImeMode(*this, mode); }

signals:
    void mouseMoved(Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void appendText(const QString& lines);
    std::unique_ptr<QTextDocument> printLayout(QPrinter& printer) const;

    PlainTextSwitch m_plainText = PlainTextSwitch::Off;
    mutable QString m_wholeText;
    mutable bool m_wholeTextKept = false;
};

} // namespace widgets
