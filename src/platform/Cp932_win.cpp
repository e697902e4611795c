// Code page 932 through the Windows converter.

#include "platform/Cp932.h"

#include <QChar>

#include <windows.h>

#include <utility>

namespace platform {
namespace {

constexpr UINT kCodePage = 932;

// Other Unicode names of JIS characters, as input methods outside Windows type them. The
// Windows converter takes them only as best-fit guesses, which are otherwise refused here
// (they would turn "é" into "e"), so these few are named: each encodes as the code page
// 932 character beside it, as glibc's CP932 converter does.
constexpr std::pair<char16_t, char16_t> kOtherForms[] = {
    {0x301C, 0xFF5E}, {0x2212, 0xFF0D}, {0x2014, 0x2015}, {0x2016, 0x2225}, {0x00A2, 0xFFE0},
    {0x00A3, 0xFFE1}, {0x00AC, 0xFFE2}, {0x00A5, 0x005C}, {0x203E, 0x007E},
};

std::optional<char16_t> decodeOne(const char* bytes, int length)
{
    wchar_t out[8];
    const int written = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, length, out, int(std::size(out)));
    if (written != 1)
        return std::nullopt;
    return char16_t(out[0]);
}

// The code `c` encodes to, only where those bytes decode back to `c`: the converter also
// maps some characters one way only (Wine writes U+F8F0 as 0xA0, which it reads as no
// character).
std::optional<quint16> encodeExactly(char16_t c)
{
    const wchar_t in = wchar_t(c);
    char out[8];
    BOOL usedDefault = FALSE;
    const int written = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &in, 1, out, sizeof out,
                                            nullptr, &usedDefault);
    if (usedDefault || written < 1 || written > 2 || decodeOne(out, written) != c)
        return std::nullopt;
    if (written == 1)
        return uchar(out[0]);
    return quint16(uchar(out[0]) << 8 | uchar(out[1]));
}

} // namespace

struct Cp932Converter::Handles {};

Cp932Converter::Cp932Converter()
    : m_handles(nullptr)
{
    if (!IsValidCodePage(kCodePage))
        qFatal("Shift-JIS tables: Windows has no code page 932 converter");
}

Cp932Converter::~Cp932Converter() = default;

std::optional<char16_t> Cp932Converter::decode(std::string_view bytes)
{
    if (bytes.empty())
        return std::nullopt;
    return decodeOne(bytes.data(), int(bytes.size()));
}

std::optional<quint16> Cp932Converter::encode(char16_t c)
{
    if (const std::optional<quint16> code = encodeExactly(c))
        return code;
    for (const auto& [other, form] : kOtherForms) {
        if (other == c)
            return encodeExactly(form);
    }
    return std::nullopt;
}

std::vector<std::optional<quint16>> Cp932Converter::encodeAll()
{
    std::vector<std::optional<quint16>> codes(0x10000);
    for (unsigned u = 0; u < 0x10000; ++u) {
        if (!QChar::isSurrogate(char16_t(u)))
            codes[u] = encode(char16_t(u));
    }
    return codes;
}

} // namespace platform
