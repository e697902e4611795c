// Code page 932 through glibc's iconv "CP932" converter.

#include "platform/Cp932.h"

#include <QChar>

#include <string>

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
    iconv_t skippingEncoder;  // leaves out what it cannot convert (encodeAll)
};

Cp932Converter::Cp932Converter()
    : m_handles(new Handles{iconv_open("UTF-16LE", "CP932"), iconv_open("CP932", "UTF-16LE"),
                            iconv_open("CP932//IGNORE", "UTF-16LE")})
{
    if (m_handles->decoder == reinterpret_cast<iconv_t>(-1) || m_handles->encoder == reinterpret_cast<iconv_t>(-1))
        qFatal("Shift-JIS tables: iconv has no CP932 converter");
}

Cp932Converter::~Cp932Converter()
{
    iconv_close(m_handles->decoder);
    iconv_close(m_handles->encoder);
    if (m_handles->skippingEncoder != reinterpret_cast<iconv_t>(-1))
        iconv_close(m_handles->skippingEncoder);
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

std::vector<std::optional<quint16>> Cp932Converter::encodeAll()
{
    std::vector<std::optional<quint16>> codes(0x10000);
    const auto oneByOne = [&] {
        for (unsigned u = 0; u < 0x10000; ++u)
            codes[u] = QChar::isSurrogate(char16_t(u)) ? std::nullopt : encode(char16_t(u));
        return codes;
    };
    if (m_handles->skippingEncoder == reinterpret_cast<iconv_t>(-1))
        return oneByOne();

    // Every code unit but LF and the surrogates, each followed by an LF, in one conversion
    // that leaves out what it cannot convert: the output splits at its LFs (0x0A is no
    // trail byte) into one field per unit, empty where the unit has no code.
    std::vector<char16_t> units;
    units.reserve(2 * 0x10000);
    for (unsigned u = 0; u < 0x10000; ++u) {
        if (u != 0x0A && !QChar::isSurrogate(char16_t(u))) {
            units.push_back(char16_t(u));
            units.push_back(u'\n');
        }
    }
    // The bytes of UTF-16LE, low byte first.
    std::string in(units.size() * 2, '\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        in[2 * i] = char(units[i] & 0xFF);
        in[2 * i + 1] = char(units[i] >> 8);
    }
    std::string out(units.size() * 2, '\0');
    iconv_t cd = m_handles->skippingEncoder;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPos = in.data();
    std::size_t inLeft = in.size();
    char* outPos = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        const std::size_t before = inLeft;
        if (iconv(cd, &inPos, &inLeft, &outPos, &outLeft) != std::size_t(-1) || inLeft == 0)
            break;
        if (inLeft == before)
            return oneByOne();  // stuck: nothing left out, nothing converted
    }
    out.resize(out.size() - outLeft);

    std::size_t start = 0;
    for (std::size_t i = 0; i < units.size(); i += 2) {
        const std::size_t end = out.find('\n', start);
        if (end == std::string::npos)
            return oneByOne();
        const std::size_t length = end - start;
        if (length == 1)
            codes[units[i]] = uchar(out[start]);
        else if (length == 2)
            codes[units[i]] = quint16(uchar(out[start]) << 8 | uchar(out[start + 1]));
        start = end + 1;
    }
    if (start != out.size())
        return oneByOne();  // more fields than units: the split does not hold
    codes[0x0A] = encode(u'\n');
    return codes;
}

} // namespace platform
