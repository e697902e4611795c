#pragma once

// Text helpers the window tests share: Shift-JIS literals, bytes of a QByteArray, and
// readable failure output for byte strings and lists of them.

#include "codec/ShiftJis.h"

#include <QByteArray>
#include <QtTest>

#include <string>
#include <string_view>
#include <vector>

namespace QTest {
template <>
inline char* toString(const std::string& text)
{
    return toString(QByteArray::fromStdString(text));
}
template <>
inline char* toString(const std::vector<std::string>& lines)
{
    QByteArray joined = "{";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        joined += (i ? ", " : "");
        joined += QTest::toString(QByteArray::fromStdString(lines[i]));
    }
    return qstrdup(joined + "}");
}
} // namespace QTest

namespace support {

// A text of the program, written as UTF-8 in the test, as Shift-JIS bytes.
inline std::string sj(std::u8string_view text)
{
    return sjis::fromUtf8(text);
}

inline std::string bytes(const QByteArray& data)
{
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

} // namespace support
