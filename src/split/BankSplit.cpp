#include "split/BankSplit.h"

#include "formats/BankRecord.h"
#include "formats/MonLines.h"
#include "text/ByteCut.h"
#include "codec/ShiftJis.h"

#include <QList>
#include <QString>

#include <algorithm>

namespace split {

namespace bank = formats::bank;

namespace {

// A text as a field of the window gives it back: shown through the codec and read back.
std::string throughField(std::string_view bytes)
{
    return sjis::fromUnicode(sjis::toUnicode(bytes)).bytes;
}

// Appends one line as the memo pad saves it: each line break in it (CR LF, CR or LF) starts
// a further line, and every line is written through the codec, followed by CR LF.
void appendSavedLine(std::string& out, std::string_view line)
{
    QString shown = sjis::toUnicode(line);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QStringView piece : QStringView(shown).split(QLatin1Char('\n'))) {
        out += sjis::fromUnicode(piece).bytes;
        out += formats::kCrLf;
    }
}

// The genre name with each CR and LF made "_", as its file name has them: title and genre
// are fields of one line, which a line break would split. No Shift-JIS character has CR
// or LF as its second byte, so each is a byte of its own.
std::string singleLineName(std::string_view name)
{
    std::string line(name);
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, '_');
    return line;
}

} // namespace

BankDirectory readDirectory(std::span<const std::uint8_t> directory)
{
    BankDirectory result;
    std::int64_t total = 0;
    for (int g = 1; g <= bank::kGenreCount; ++g) {
        const formats::GenreEntry entry =
            formats::decodeGenreEntry(formats::clampedSlice(directory, bank::genreEntryOffset(g), bank::kGenreEntrySize));
        Genre& genre = result.genres[static_cast<std::size_t>(g - 1)];
        genre.number = g;
        genre.name = entry.name;
        genre.count = entry.count;
        genre.firstRecord = total + 1;
        total += entry.count;
    }
    result.records = total;
    return result;
}

std::vector<Part> partsOf(int count)
{
    std::vector<Part> parts;
    if (count < kMinQuestions)
        return parts;
    const int n = (count + kMaxQuestions - 1) / kMaxQuestions;
    const int base = count / n;
    const int larger = count % n;
    int first = 1;
    for (int i = 0; i < n; ++i) {
        const int size = base + (i < larger ? 1 : 0);
        parts.push_back({first, first + size - 1});
        first += size;
    }
    return parts;
}

std::string proposedTitle(std::string_view name)
{
    return throughField(singleLineName(name));
}

std::string proposedGenre(std::string_view name)
{
    // The window appends the genre and "■" to the question column's caption "問題・・・"
    // and takes the 24 bytes after the caption's 10.
    static const std::string caption = sjis::fromUtf8(u8"問題・・・");
    static const std::string genreEnd = sjis::fromUtf8(u8"■");
    std::string header = caption;
    header.append(singleLineName(name)).append(genreEnd);
    return throughField(text::cutWholeCharacters(header, caption.size(), 24));
}

std::string monFileBytes(const Genre& genre, std::span<const std::uint8_t> records, int questions)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(questions) * 96 + 64);
    appendSavedLine(out, formats::monHeaderLine(std::to_string(questions), proposedTitle(genre.name)));
    appendSavedLine(out, formats::monGenreLine(proposedGenre(genre.name)));
    formats::BankRecord decoded;
    for (int i = 0; i < questions; ++i) {
        formats::decodeRecord(formats::clampedSlice(records, std::size_t(i) * bank::kRecordSize, bank::kRecordSize),
                              decoded);
        appendSavedLine(out, formats::monQuestionLine(decoded.answers[0].view(), decoded.question.view()));
    }
    return out;
}

} // namespace split
