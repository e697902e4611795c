#include "app/find/FoldedText.h"

#include "codec/ShiftJis.h"

#include <array>
#include <cstdint>
#include <vector>

namespace app::find {

namespace {

// NFKC and case folding of a whole string cost a few microseconds a question, too much for
// half a million rows. Most cells hold no character that combines with its neighbour, and
// then folding each character alone gives the same result: that is looked up in a table
// filled as characters are first met. A text with a combining mark (the half-width sound
// marks ﾞ and ﾟ among them) or a surrogate goes the whole way through Qt.
class CharacterFolds final {
public:
    // Appends the fold of `unit` to `out`; false when the text must be folded whole.
    bool append(char16_t unit, QString& out)
    {
        std::uint32_t& entry = m_entries[unit];
        if (entry == kUnknown)
            entry = learn(unit);
        if (entry == kWhole)
            return false;
        const std::uint32_t length = entry & 0xFF;
        out.append(QStringView(m_pool.data() + (entry >> 8), length));
        return true;
    }

private:
    static constexpr std::uint32_t kUnknown = 0xFFFFFFFF;
    static constexpr std::uint32_t kWhole = 0xFFFFFFFE;

    static bool standsAlone(char32_t c)
    {
        // Characters that never compose with a neighbour: no combining mark, no conjoining
        // Hangul jamo, and outside the scripts whose vowel signs compose without one.
        if (QChar::combiningClass(c) != 0)
            return false;
        if (c == 0x3099 || c == 0x309A)
            return false;
        return c < 0x0300 || (c >= 0x2000 && c < 0x2E00) || (c >= 0x3000 && c < 0xA000 && !(c >= 0x3130 && c < 0x3190))
               || (c >= 0xF700 && c < 0xF800) || (c >= 0xF900 && c < 0xFB00) || (c >= 0xFE30 && c < 0xFFA0)
               || (c >= 0xFFE0 && c < 0xFFF0);
    }

    std::uint32_t learn(char16_t unit)
    {
        if (QChar::isSurrogate(unit) || !standsAlone(unit))
            return kWhole;
        const QString one = QString(QChar(unit)).normalized(QString::NormalizationForm_KC).toCaseFolded();
        if (one.size() > 0xFF)
            return kWhole;
        for (QChar c : one)
            if (c.isSurrogate() || !standsAlone(c.unicode()))
                return kWhole;
        const std::uint32_t at = static_cast<std::uint32_t>(m_pool.size());
        m_pool.insert(m_pool.end(), one.utf16(), one.utf16() + one.size());
        return at << 8 | static_cast<std::uint32_t>(one.size());
    }

    std::array<std::uint32_t, 0x10000> m_entries = [] {
        std::array<std::uint32_t, 0x10000> all;
        all.fill(kUnknown);
        return all;
    }();
    std::vector<char16_t> m_pool;
};

CharacterFolds& characterFolds()
{
    static CharacterFolds folds;
    return folds;
}

// Each run of white space as one space, none at either end.
QString collapsedSpaces(const QString& text)
{
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (QChar c : text) {
        if (c.isSpace()) {
            space = !out.isEmpty();
            continue;
        }
        if (space)
            out.append(u' ');
        space = false;
        out.append(c);
    }
    return out;
}

} // namespace

QString folded(QStringView text)
{
    QString out;
    out.reserve(text.size());
    CharacterFolds& folds = characterFolds();
    for (QChar unit : text) {
        if (!folds.append(unit.unicode(), out))
            return collapsedSpaces(text.toString().normalized(QString::NormalizationForm_KC).toCaseFolded());
    }
    return collapsedSpaces(out);
}

QString foldedCell(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    return folded(sjis::toUnicode(bytes));
}

} // namespace app::find
