#pragma once

// Text as the finder and the duplicate marks compare it: the differences a reader does not
// see as differences taken out. Compatibility forms become their plain forms (Unicode NFKC:
// full-width letters and digits, half-width katakana, circled digits, the ideographic
// space), letter case is folded, and each run of white space becomes one space, none left at
// either end.

#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>
#include <string_view>

namespace app::find {

QString folded(QStringView text);
// The same for a cell's Shift-JIS bytes; or appended to `out`.
QString foldedCell(std::string_view bytes);
void appendFoldedCell(std::string_view bytes, std::u16string& out);

// A 64-bit hash of folded texts one after another, each closed by a break, made straight
// from the Shift-JIS bytes without building the texts: the same texts give the same hash.
class FoldedHash final {
public:
    // Adds the folded cell; returns false when it folds to nothing.
    bool add(std::string_view bytes);
    std::uint64_t value() const { return m_hash; }

private:
    std::uint64_t m_hash = 0xcbf29ce484222325ULL;
};

} // namespace app::find
