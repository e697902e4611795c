#include "widgets/UnencodableTextError.h"

#include "text/Messages.h"
#include "codec/ShiftJis.h"

#include <QString>

namespace widgets {
namespace {

std::string describe(char32_t character, int line)
{
    const std::string code = QStringLiteral("%1").arg(uint(character), 4, 16, QLatin1Char('0')).toUpper().toStdString();
    if (line <= 0)
        return text::formatMessage(sjis::fromUtf8(u8"文字 U+%s はShift-JISで表せません"), {code});
    return text::formatMessage(sjis::fromUtf8(u8"%d行目の文字 U+%s はShift-JISで表せません"),
                               {std::to_string(line), code});
}

} // namespace

UnencodableTextError::UnencodableTextError(char32_t character, int line)
    : text::EditorError(describe(character, line))
    , m_character(character)
    , m_line(line)
{
}

} // namespace widgets
