#include "app/find/FoldedText.h"

#include "codec/ShiftJis.h"

#include <array>
#include <cstdint>
#include <vector>

namespace app::find {

namespace {

// Every white space character as a plain space, so that the folds collapse plain spaces only.
QString spacesPlain(QString text)
{
    for (QChar& c : text)
        if (c.isSpace())
            c = u' ';
    return text;
}

// NFKC and case folding of a whole string cost microseconds a question, too much for half a
// million rows. Most cells hold no character that combines with its neighbour, and then
// folding each character alone gives the same result: that is looked up in tables filled as
// characters are first met, one by UTF-16 unit and one by Shift-JIS code. A text with a
// combining mark (the half-width sound marks ﾞ and ﾟ among them), a surrogate, or bytes
// that are not one character goes the whole way through Qt.
class CharacterFolds final {
public:
    static constexpr std::uint32_t kUnknown = 0xFFFFFFFF;
    static constexpr std::uint32_t kWhole = 0xFFFFFFFE;

    std::uint32_t unitEntry(char16_t unit)
    {
        std::uint32_t& entry = m_units[unit];
        if (entry == kUnknown)
            entry = learn(unit);
        return entry;
    }

    // The entry of the Shift-JIS character of one or two bytes.
    std::uint32_t codeEntry(unsigned code, std::string_view bytes)
    {
        std::uint32_t& entry = m_codes[code];
        if (entry == kUnknown) {
            const QString unit = sjis::toUnicode(bytes);
            entry = unit.size() == 1 ? unitEntry(unit.front().unicode()) : kWhole;
        }
        return entry;
    }

    QStringView text(std::uint32_t entry) const { return QStringView(m_pool.data() + (entry >> 8), entry & 0xFF); }

private:
    static bool standsAlone(char32_t c)
    {
        // Characters that never compose with a neighbour: no combining mark, no conjoining
        // Hangul jamo, and outside the scripts whose vowel signs compose without one.
        if (QChar::combiningClass(c) != 0 || c == 0x3099 || c == 0x309A)
            return false;
        return c < 0x0300 || (c >= 0x2000 && c < 0x2E00) || (c >= 0x3000 && c < 0xA000 && !(c >= 0x3130 && c < 0x3190))
               || (c >= 0xF700 && c < 0xF800) || (c >= 0xF900 && c < 0xFB00) || (c >= 0xFE30 && c < 0xFFA0)
               || (c >= 0xFFE0 && c < 0xFFF0);
    }

    std::uint32_t learn(char16_t unit)
    {
        if (QChar::isSurrogate(unit) || !standsAlone(unit))
            return kWhole;
        const QString one = spacesPlain(QString(QChar(unit)).normalized(QString::NormalizationForm_KC).toCaseFolded());
        if (one.size() > 0xFF)
            return kWhole;
        for (QChar c : one)
            if (c.isSurrogate() || !standsAlone(c.unicode()))
                return kWhole;
        const auto at = static_cast<std::uint32_t>(m_pool.size());
        m_pool.insert(m_pool.end(), one.utf16(), one.utf16() + one.size());
        return at << 8 | static_cast<std::uint32_t>(one.size());
    }

    static std::array<std::uint32_t, 0x10000> unknown()
    {
        std::array<std::uint32_t, 0x10000> all;
        all.fill(kUnknown);
        return all;
    }

    std::array<std::uint32_t, 0x10000> m_units = unknown();
    // A single byte b at b, a double-byte code at (lead << 8 | trail).
    std::array<std::uint32_t, 0x10000> m_codes = unknown();
    std::vector<char16_t> m_pool;
};

CharacterFolds& characterFolds()
{
    static CharacterFolds folds;
    return folds;
}

bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Hands each folded unit to `sink`, runs of white space as one space and none at either end.
template <typename Sink>
class SpaceCollapser final {
public:
    explicit SpaceCollapser(Sink& sink) : m_sink(sink) {}
    void put(QStringView units)
    {
        for (QChar c : units) {
            if (c == u' ') {
                m_space = m_any;
                continue;
            }
            if (m_space)
                m_sink(u' ');
            m_space = false;
            m_any = true;
            m_sink(c.unicode());
        }
    }
    bool any() const { return m_any; }

private:
    Sink& m_sink;
    bool m_any = false;
    bool m_space = false;
};

// Folds `text` unit by unit into `sink`; false, with nothing handed over, when it must be
// folded whole.
template <typename Sink>
bool foldUnits(QStringView text, Sink& sink)
{
    CharacterFolds& folds = characterFolds();
    for (QChar unit : text)
        if (folds.unitEntry(unit.unicode()) == CharacterFolds::kWhole)
            return false;
    SpaceCollapser<Sink> out(sink);
    for (QChar unit : text)
        out.put(folds.text(folds.unitEntry(unit.unicode())));
    return true;
}

// The same from Shift-JIS bytes, without decoding them into a string first. When it returns
// false, what it handed to `sink` is to be dropped and the text folded whole.
template <typename Sink>
bool foldBytes(std::string_view bytes, Sink& sink)
{
    CharacterFolds& folds = characterFolds();
    SpaceCollapser<Sink> out(sink);
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        std::uint32_t entry;
        if (isLeadByte(byte)) {
            if (i + 1 == bytes.size())
                return false;
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            entry = folds.codeEntry(unsigned(byte) << 8 | trail, bytes.substr(i, 2));
            i += 2;
        } else {
            entry = folds.codeEntry(byte, bytes.substr(i, 1));
            i += 1;
        }
        if (entry == CharacterFolds::kWhole)
            return false;
        out.put(folds.text(entry));
    }
    return true;
}

template <typename Sink>
void foldWhole(QStringView text, Sink& sink)
{
    SpaceCollapser<Sink> out(sink);
    out.put(spacesPlain(text.toString().normalized(QString::NormalizationForm_KC).toCaseFolded()));
}

} // namespace

QString folded(QStringView text)
{
    QString out;
    out.reserve(text.size());
    auto sink = [&out](char16_t unit) { out.append(QChar(unit)); };
    if (!foldUnits(text, sink))
        foldWhole(text, sink);
    return out;
}

void appendFoldedCell(std::string_view bytes, std::u16string& out)
{
    const std::size_t start = out.size();
    auto sink = [&out](char16_t unit) { out.push_back(unit); };
    if (foldBytes(bytes, sink))
        return;
    out.resize(start);
    foldWhole(sjis::toUnicode(bytes), sink);
}

QString foldedCell(std::string_view bytes)
{
    std::u16string out;
    appendFoldedCell(bytes, out);
    return QString::fromStdU16String(out);
}

bool FoldedHash::add(std::string_view bytes)
{
    // FNV-1a over the folded units, then a break that no folded text holds.
    std::uint64_t hash = m_hash;
    bool any = false;
    auto sink = [&hash, &any](char16_t unit) {
        any = true;
        hash = (hash ^ unit) * 0x100000001b3ULL;
    };
    if (!foldBytes(bytes, sink)) {
        hash = m_hash;
        any = false;
        foldWhole(sjis::toUnicode(bytes), sink);
    }
    m_hash = (hash ^ 0xFFFF) * 0x100000001b3ULL;
    return any;
}

} // namespace app::find
