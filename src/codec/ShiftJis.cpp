// Code page 932 <-> QString, by table lookup.
//
// The tables are built once, on first use, from the system's code page 932 converter
// (platform/Cp932.h: glibc's iconv "CP932", or Windows' own), so the mapping is the one
// that converter keeps, not one written here:
// - decoding: every single byte and every lead byte (0x81-0x9F, 0xE0-0xFC) followed by a
//   trail byte (0x40-0x7E, 0x80-0xFC) is asked of the decoder;
// - encoding: every BMP code unit is asked of the encoder.
// After the tables are built the converter is not asked again.
//
// Duplicates. Some characters have two or three byte codes in code page 932: the IBM
// extensions (0xFA-0xFC) repeat the NEC-selected IBM extensions (0xED, 0xEE rows) and some
// of NEC row 13 (0x87), and NEC row 13 repeats some JIS symbols (0x81). Every code decodes
// to its character, but a character encodes to one code only, the canonical one, i.e. the
// code the CP932 encoder produces (for example U+2170 from 0xEE 0xEF and from 0xFA 0x40
// encodes to 0xFA 0x40; U+2252 from 0x81 0xE0 and from 0x87 0x90 encodes to 0x81 0xE0).
// So bytes -> QString -> bytes turns a non-canonical code into the canonical code of the
// same character; every other byte sequence comes back unchanged. One case keeps a
// non-canonical code: right after a raw lead byte (see below), where the canonical code's
// first byte would join that byte into a pair, another code of the character is written,
// so that the bytes still read back as the same text.
//
// Alternative Unicode forms. The encoder also accepts a few characters that decoding never
// produces, the other Unicode names of the same JIS characters: U+301C WAVE DASH as 0x81
// 0x60 (which decodes to U+FF5E), U+2212 as 0x81 0x7C (U+FF0D), U+00A5 as 0x5C, U+203E as
// 0x7E, U+2014, U+2016, U+00A2, U+00A3 and U+00AC. Input methods outside Windows type
// these forms, and the bytes are the ones a Windows user typing the same key gets. They
// come back from the bytes in the code page 932 form.
//
// Raw bytes. A byte that is not part of a character decodes to kRawByteBase + byte, and
// that code point encodes to the byte alone; only the 65 bytes that are no character on
// their own can be raw, so the other code points of the block encode to nothing. Building the tables stops the program if the
// converter decodes anything into that block, since the bytes could then not be told apart.

#include "codec/ShiftJis.h"

#include "platform/Cp932.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace sjis {
namespace {

constexpr char16_t kNoPair = 0;         // no pair decodes to U+0000, so 0 marks "no character"
constexpr quint16 kNoCode = 0xFFFF;     // 0xFF is no lead byte, so no real code looks like this
constexpr int kLeadByteCount = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);

bool isLeadByte(unsigned b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool isRawByteCodePoint(char16_t c)
{
    return c >= kRawByteBase && c <= kRawByteBase + 0xFF;
}

struct Tables final {
    std::array<char16_t, 256> single {};                 // a byte alone: its character or raw code point
    std::array<qint8, 256> leadRow {};                   // row in pair of a lead byte, or -1
    std::array<std::array<char16_t, 256>, kLeadByteCount> pair {};   // lead+trail, or kNoPair
    std::array<quint16, 0x10000> code {};                // byte (< 0x100), lead << 8 | trail, or kNoCode
    bool asciiIsIdentity = false;                        // bytes < 0x80 are the same code units both ways
    // The codes of duplicated characters other than the one in `code`, sorted by character.
    std::vector<std::pair<char16_t, quint16>> otherCodes;

    Tables();

    // Whether a raw lead byte of the given row, written just before `c`, would read as
    // one pair with the first byte of `c`.
    bool joins(int rawLeadRow, quint16 c) const
    {
        return pair[rawLeadRow][c < 0x100 ? c : c >> 8] != kNoPair;
    }

    // A code of `ch` that does not join the raw lead byte before it: the canonical one if
    // it does not, else another code of the same character, else the canonical one anyway.
    quint16 codeAfterRawLead(int rawLeadRow, char16_t ch) const
    {
        if (!joins(rawLeadRow, code[ch]))
            return code[ch];
        const auto [first, last] = std::equal_range(
            otherCodes.begin(), otherCodes.end(), std::pair(ch, quint16(0)),
            [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto it = first; it != last; ++it) {
            if (!joins(rawLeadRow, it->second))
                return it->second;
        }
        return code[ch];
    }

    // The character a code (as stored in `code`) decodes to, or nothing.
    std::optional<char16_t> characterOf(quint16 c) const
    {
        if (c < 0x100) {
            if (isRawByteCodePoint(single[c]))
                return std::nullopt;
            return single[c];
        }
        const int row = leadRow[c >> 8];
        if (row < 0 || pair[row][c & 0xFF] == kNoPair)
            return std::nullopt;
        return pair[row][c & 0xFF];
    }
};

// The single UTF-16 code unit that the converter decodes `length` bytes into, if it is
// exactly one.
std::optional<char16_t> decodeWithConverter(platform::Cp932Converter& converter, const unsigned char* bytes,
                                            size_t length)
{
    const std::optional<char16_t> c =
        converter.decode(std::string_view(reinterpret_cast<const char*>(bytes), length));
    if (!c || QChar::isSurrogate(*c))
        return std::nullopt;
    if (isRawByteCodePoint(*c))
        qFatal("Shift-JIS tables: code page 932 decodes bytes into U+%04X, the block reserved "
               "for raw bytes", unsigned(*c));
    return c;
}

Tables::Tables()
{
    platform::Cp932Converter converter;

    for (unsigned b = 0; b < 256; ++b) {
        const unsigned char byte = static_cast<unsigned char>(b);
        single[b] = decodeWithConverter(converter, &byte, 1).value_or(char16_t(kRawByteBase + b));
    }

    leadRow.fill(-1);
    int row = 0;
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (!isLeadByte(lead))
            continue;
        leadRow[lead] = qint8(row);
        pair[row].fill(kNoPair);
        for (unsigned trail = 0; trail < 256; ++trail) {
            if (!isTrailByte(trail))
                continue;
            const unsigned char bytes[2] = { static_cast<unsigned char>(lead),
                                             static_cast<unsigned char>(trail) };
            pair[row][trail] = decodeWithConverter(converter, bytes, 2).value_or(kNoPair);
        }
        ++row;
    }

    // The encoder's choice for every code unit, kept only where it names real bytes.
    code.fill(kNoCode);
    const std::vector<std::optional<quint16>> encoded = converter.encodeAll();
    for (unsigned u = 0; u < 0x10000; ++u) {
        if (isRawByteCodePoint(char16_t(u)))
            continue;
        if (encoded[u] && characterOf(*encoded[u]))
            code[u] = *encoded[u];
    }

    // Every decoded character must encode to a code that decodes back to it; should the
    // encoder not give one, the first code that decodes to the character is taken.
    const auto claim = [this](char16_t c, quint16 bytes) {
        if (characterOf(code[c]) != c)
            code[c] = bytes;
    };
    for (unsigned b = 0; b < 256; ++b) {
        if (!isRawByteCodePoint(single[b]))
            claim(single[b], quint16(b));
    }
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (leadRow[lead] < 0)
            continue;
        for (unsigned trail = 0; trail < 256; ++trail) {
            if (const char16_t c = pair[leadRow[lead]][trail]; c != kNoPair)
                claim(c, quint16(lead << 8 | trail));
        }
    }

    // Only the code points that decoding can produce stand for a raw byte: those of the
    // bytes that are no character on their own. Any other code point of the block (U+F70A
    // would be a bare LF, U+F700 a NUL) is a character like any other the code page lacks.
    for (unsigned b = 0; b < 256; ++b) {
        if (single[b] == char16_t(kRawByteBase + b))
            code[kRawByteBase + b] = quint16(b);
    }

    for (unsigned lead = 0; lead < 256; ++lead) {
        if (leadRow[lead] < 0)
            continue;
        for (unsigned trail = 0; trail < 256; ++trail) {
            const char16_t c = pair[leadRow[lead]][trail];
            const quint16 bytes = quint16(lead << 8 | trail);
            if (c != kNoPair && code[c] != bytes)
                otherCodes.emplace_back(c, bytes);
        }
    }
    std::stable_sort(otherCodes.begin(), otherCodes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    asciiIsIdentity = true;
    for (unsigned b = 0; b < 0x80; ++b) {
        if (single[b] != b || code[b] != b)
            asciiIsIdentity = false;
    }
}

const Tables& tables()
{
    static const Tables instance;   // thread-safe one-time initialisation
    return instance;
}

} // namespace

void prepare()
{
    tables();
}

namespace {

// The length of the run of bytes < 0x80 the text starts with, eight bytes at a time.
qsizetype asciiPrefixLength(const unsigned char* p, qsizetype n)
{
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        quint64 word;
        std::memcpy(&word, p + i, sizeof word);
        if (word & 0x8080808080808080ull)
            break;
    }
    while (i < n && p[i] < 0x80)
        ++i;
    return i;
}

} // namespace

QString toUnicode(std::string_view bytes)
{
    const Tables& t = tables();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = qsizetype(bytes.size());

    qsizetype i = 0;
    if (t.asciiIsIdentity) {
        i = asciiPrefixLength(p, n);
        if (i == n)
            return QString::fromLatin1(bytes.data(), n);
    }

    // Every byte yields at most one code unit.
    QString result(n, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    for (qsizetype k = 0; k < i; ++k)
        out[k] = p[k];
    qsizetype written = i;
    while (i < n) {
        const unsigned char b = p[i];
        if (const int row = t.leadRow[b]; row >= 0 && i + 1 < n) {
            if (const char16_t c = t.pair[row][p[i + 1]]; c != kNoPair) {
                out[written++] = c;
                i += 2;
                continue;
            }
        }
        // Not a pair: the byte alone, and the next byte is looked at afresh.
        out[written++] = t.single[b];
        ++i;
    }
    result.truncate(written);
    return result;
}

EncodeResult fromUnicode(QStringView text)
{
    const Tables& t = tables();
    const char16_t* s = text.utf16();
    const qsizetype n = text.size();

    EncodeResult result;
    result.bytes.resize(size_t(n) * 2);   // every code unit yields at most two bytes
    char* out = result.bytes.data();
    size_t written = 0;
    // A raw lead byte makes the decoder try the next byte as its trail. Decoded text never
    // has a raw lead byte before a code it joins, but the canonical code of a duplicate may
    // start with another byte than the code it was decoded from; then another code of the
    // character is written, so that the bytes read back as the same text.
    int rawLeadRow = -1;
    for (qsizetype i = 0; i < n; ++i) {
        quint16 c = t.code[s[i]];
        if (c == kNoCode) {
            // Surrogates have no code of their own; a pair is reported as the character it forms.
            result.badIndex = i;
            result.badChar = s[i];
            if (QChar::isHighSurrogate(s[i]) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]))
                result.badChar = QChar::surrogateToUcs4(s[i], s[i + 1]);
            break;
        }
        if (rawLeadRow >= 0 && t.joins(rawLeadRow, c))
            c = t.codeAfterRawLead(rawLeadRow, s[i]);
        if (c < 0x100) {
            out[written++] = char(c);
            rawLeadRow = isRawByteCodePoint(s[i]) ? t.leadRow[c] : -1;
        } else {
            out[written++] = char(c >> 8);
            out[written++] = char(c & 0xFF);
            rawLeadRow = -1;
        }
    }
    result.bytes.resize(written);
    return result;
}

std::string fromUtf8(std::u8string_view text)
{
    const QString unicode = QString::fromUtf8(reinterpret_cast<const char*>(text.data()),
                                              qsizetype(text.size()));
    EncodeResult encoded = fromUnicode(unicode);
    if (!encoded.ok())
        qFatal("Program text has U+%04X at %lld, which Shift-JIS cannot hold: %s",
               unsigned(encoded.badChar), static_cast<long long>(encoded.badIndex),
               qUtf8Printable(unicode));
    return std::move(encoded.bytes);
}

} // namespace sjis
