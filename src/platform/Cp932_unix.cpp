// Code page 932 through glibc's iconv "CP932" converter.

#include "platform/Cp932.h"

#include <iconv.h>

namespace platform {
namespace {

// The output of the whole input, or nothing when any of it does not convert.
std::optional<size_t> convert(iconv_t cd, const char* in, size_t inLength, char* out, size_t outCapacity)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPos = const_cast<char*>(in);
    size_t inLeft = inLength;
    char* outPos = out;
    size_t outLeft = outCapacity;
    if (iconv(cd, &inPos, &inLeft, &outPos, &outLeft) == size_t(-1) || inLeft != 0)
        return std::nullopt;
    if (iconv(cd, nullptr, nullptr, &outPos, &outLeft) == size_t(-1))
        return std::nullopt;
    return outCapacity - outLeft;
}

} // namespace

struct Cp932Converter::Handles {
    iconv_t decoder;
    iconv_t encoder;
};

Cp932Converter::Cp932Converter()
    : m_handles(new Handles{iconv_open("UTF-16LE", "CP932"), iconv_open("CP932", "UTF-16LE")})
{
    if (m_handles->decoder == reinterpret_cast<iconv_t>(-1) || m_handles->encoder == reinterpret_cast<iconv_t>(-1))
        qFatal("Shift-JIS tables: iconv has no CP932 converter");
}

Cp932Converter::~Cp932Converter()
{
    iconv_close(m_handles->decoder);
    iconv_close(m_handles->encoder);
    delete m_handles;
}

std::optional<char16_t> Cp932Converter::decode(std::string_view bytes)
{
    char out[16];
    if (convert(m_handles->decoder, bytes.data(), bytes.size(), out, sizeof out) != 2u)
        return std::nullopt;
    return char16_t(uchar(out[0]) | uchar(out[1]) << 8);
}

std::optional<quint16> Cp932Converter::encode(char16_t c)
{
    const char in[2] = { char(c & 0xFF), char(c >> 8) };
    char out[16];
    const std::optional<size_t> written = convert(m_handles->encoder, in, sizeof in, out, sizeof out);
    if (written == 1u)
        return uchar(out[0]);
    if (written == 2u)
        return quint16(uchar(out[0]) << 8 | uchar(out[1]));
    return std::nullopt;
}

} // namespace platform
