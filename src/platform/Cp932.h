#pragma once

// The system's own code page 932 converter, asked one whole input at a time. The codec's
// tables are built from it once (widgets/ShiftJis.cpp), and its tests check the tables
// against it. On Linux this is glibc's iconv "CP932"; on Windows MultiByteToWideChar and
// WideCharToMultiByte with code page 932, without best-fit guesses.

#include <QtGlobal>

#include <optional>
#include <string_view>
#include <vector>

namespace platform {

class Cp932Converter final {
public:
    // Stops the program when the system has no code page 932 converter.
    Cp932Converter();
    ~Cp932Converter();
    Cp932Converter(const Cp932Converter&) = delete;
    Cp932Converter& operator=(const Cp932Converter&) = delete;

    // The one UTF-16 code unit that `bytes` decode to as a whole, or nothing when they are
    // not exactly one BMP character.
    std::optional<char16_t> decode(std::string_view bytes);
    // The code `c` encodes to: a byte (< 0x100) or lead << 8 | trail; nothing when code
    // page 932 cannot hold it.
    std::optional<quint16> encode(char16_t c);
    // encode() of every code unit from U+0000 to U+FFFF (none for a surrogate), in one pass
    // where the system converts in bulk: the codec's tables are built at start-up.
    std::vector<std::optional<quint16>> encodeAll();

private:
    struct Handles;
    Handles* m_handles;
};

} // namespace platform
