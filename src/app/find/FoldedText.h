#pragma once

// Text as the finder and the duplicate marks compare it: the differences a reader does not
// see as differences taken out. Compatibility forms become their plain forms (Unicode NFKC:
// full-width letters and digits, half-width katakana, circled digits, the ideographic
// space), letter case is folded, and each run of white space becomes one space, none left at
// either end.

#include <QString>
#include <QStringView>

#include <string_view>

namespace app::find {

QString folded(QStringView text);
// The same for a cell's Shift-JIS bytes.
QString foldedCell(std::string_view bytes);

} // namespace app::find
