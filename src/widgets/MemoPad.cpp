#include "widgets/MemoPad.h"

#include "formats/MonLines.h"
#include "platform/SafeSave.h"
#include "text/EditorError.h"
#include "text/Messages.h"
#include "codec/ShiftJis.h"
#include "widgets/UnencodableTextError.h"
#include "widgets/WidgetText.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>

namespace widgets {
namespace {

std::string encodedLine(const QTextBlock& block)
{
    sjis::EncodeResult encoded = sjis::fromUnicode(block.text());
    if (!encoded.ok())
        throw UnencodableTextError(encoded.badChar, block.blockNumber() + 1);
    return std::move(encoded.bytes);
}

// Whether page `page`, laid out down to `bottom`, is the document's last.
bool endsOnPage(const QTextDocument& doc, int page, qreal bottom)
{
    const QTextBlock last = doc.lastBlock();
    if (!last.isVisible())
        return page + 1 >= doc.pageCount();  // lays out the whole document
    const QTextLayout* layout = last.layout();
    return layout->lineCount() > 0 && layout->position().y() + layout->boundingRect().height() <= bottom;
}

} // namespace

MemoPad::MemoPad(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setMouseTracking(true);
    // A mon line holds no tab character: Tab moves on to the next control, as in a field.
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        m_wholeTextKept = false;
        m_wholeText.clear();
    });
}

QString MemoPad::wholeText() const
{
    if (!m_wholeTextKept) {
        m_wholeText = toPlainText();
        m_wholeTextKept = true;
    }
    return m_wholeText;
}

void MemoPad::Clear()
{
    clear();
}

void MemoPad::Add(std::string_view line)
{
    appendText(textWithLineBreaks(line));
}

void MemoPad::AddLines(const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    QString joined = textWithLineBreaks(lines.front());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        joined += QLatin1Char('\n');
        joined += textWithLineBreaks(lines[i]);
    }
    appendText(joined);
}

void MemoPad::appendText(const QString& lines)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    // Text typed without a final break: the added lines start after it.
    if (cursor.block().length() > 1)
        cursor.insertBlock();
    cursor.insertText(lines);
    cursor.insertBlock();
    cursor.endEditBlock();
}

int MemoPad::Count() const
{
    const QTextDocument* doc = document();
    const bool endsWithBreak = doc->lastBlock().length() <= 1;
    return doc->blockCount() - (endsWithBreak ? 1 : 0);
}

std::string MemoPad::Line(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return encodedLine(document()->findBlockByNumber(index));
}

std::vector<std::string> MemoPad::Lines() const
{
    const int count = Count();
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    QTextBlock block = document()->firstBlock();
    for (int i = 0; i < count; ++i, block = block.next())
        lines.push_back(encodedLine(block));
    return lines;
}

void MemoPad::LoadFromFile(std::string_view path)
{
    const auto cannotOpen = [path] {
        return text::EditorError(text::formatMessage(sjis::fromUtf8(u8"ﾌｧｲﾙ %s は開けません"), {path}));
    };
    // Only regular files: opening a FIFO would block until some writer came.
    QFile file(pathFromBytes(path));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        throw cannotOpen();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw cannotOpen();
    LoadText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

void MemoPad::LoadText(std::string_view text)
{
    // Decoded whole: no line break byte is part of a Shift-JIS character, so the lines come
    // out as decoding each on its own would give them.
    QString shown = textWithLineBreaks(text);
    if (!shown.isEmpty() && !shown.endsWith(QLatin1Char('\n')))
        shown += QLatin1Char('\n');
    QPlainTextEdit::setPlainText(shown);
}

void MemoPad::SaveToFile(std::string_view path) const
{
    std::string bytes;
    if (PlainText()) {
        const int count = Count();
        QTextBlock block = document()->firstBlock();
        for (int i = 0; i < count; ++i, block = block.next()) {
            bytes += encodedLine(block);
            bytes += formats::kCrLf;
        }
    } else {
        bytes = document()->toHtml().toStdString();
    }

    if (platform::saveFile(pathFromBytes(path), bytes))
        throw text::EditorError(text::formatMessage(sjis::fromUtf8(u8"ﾌｧｲﾙ %s を作成できません"), {path}));
}

void MemoPad::setSelectionFont(const ChosenFont& font)
{
    QTextCharFormat face;
    face.setFontFamilies(QStringList{font.family});
    mergeCurrentCharFormat(face);

    QTextCharFormat colour;
    colour.setForeground(font.color);
    mergeCurrentCharFormat(colour);

    QTextCharFormat style;
    style.setFontWeight(font.bold ? QFont::Bold : QFont::Normal);
    style.setFontItalic(font.italic);
    style.setFontUnderline(font.underline);
    style.setFontStrikeOut(font.strikeOut);
    mergeCurrentCharFormat(style);

    QTextCharFormat size;
    size.setFontPointSize(font.pointSize);
    mergeCurrentCharFormat(size);
}

std::unique_ptr<QTextDocument> MemoPad::printLayout(QPrinter& printer) const
{
    std::unique_ptr<QTextDocument> doc(document()->clone());
    // Every setting below would lay the whole document out again at once while it has a
    // page size (the memo pad's is -1 x -1, which counts as one): seconds for megabytes of
    // text before the first page. Without one nothing is laid out until the printer's page
    // size is set last, and then only as far as each page drawn needs.
    doc->setPageSize(QSizeF(0, 0));
    // Laid out for the printer's resolution; the base font is given in screen pixels, so
    // it is carried over in points to keep its size on paper.
    QFont base = doc->defaultFont();
    if (base.pixelSize() > 0)
        base.setPointSizeF(base.pixelSize() * 72.0 / logicalDpiY());
    doc->setDefaultFont(base);
    doc->documentLayout()->setPaintDevice(&printer);

    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    doc->setDefaultTextOption(option);
    doc->setDocumentMargin(0);
    doc->setPageSize(QSizeF(printer.width(), printer.height()));
    return doc;
}

bool MemoPad::print(QPrinter& printer, const QString& jobTitle, Progress& progress) const
{
    printer.setDocName(jobTitle);
    QPainter painter;
    if (!painter.begin(&printer))
        return true; // the printing system reports its own errors
    const std::unique_ptr<QTextDocument> doc = printLayout(printer);
    const QSizeF page = doc->pageSize();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);

    // Drawing a page lays the document out only as far as that page, so the first page goes
    // out at once and the progress, counted in characters, is reported before every page.
    // The pages are the ones pageCount() counts, without laying out the whole document first.
    const int characters = std::max(doc->characterCount(), 1);
    for (int i = 0;; ++i) {
        const QRectF area(QPointF(0, i * page.height()), page);
        const int done = std::clamp(doc->documentLayout()->hitTest(area.topLeft(), Qt::FuzzyHit), 0, characters);
        if (!progress.advance(done, characters)) {
            printer.abort();
            painter.end();
            return false;
        }
        if (i > 0)
            printer.newPage();
        painter.save();
        painter.translate(0, -area.top());
        painter.setClipRect(area);
        context.clip = area;
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
        if (endsOnPage(*doc, i, area.bottom()))
            break;
    }
    progress.advance(characters, characters);
    painter.end();
    return true;
}

void MemoPad::keyPressEvent(QKeyEvent* event)
{
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (lineBreak && event->modifiers().testFlag(Qt::ShiftModifier)) {
        // Shift+Enter would put a line separator inside the line.
        QKeyEvent plain(QEvent::KeyPress, event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MemoPad::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->modifiers(), qRound(event->position().x()), qRound(event->position().y()));
    QPlainTextEdit::mouseMoveEvent(event);
    event->accept();
}

} // namespace widgets
