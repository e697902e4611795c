#pragma once

// Lossless conversion between code page 932 (Shift-JIS with the Microsoft extensions)
// byte strings and QString.
//
// Decoding: every valid character becomes its Unicode character. Every byte that is not
// part of a valid character becomes a reserved code point of its own (kRawByteBase + byte),
// which encodes back to that very byte, so any byte sequence survives a trip through a
// widget and back. The one exception: a character with two codes (the IBM and NEC
// extensions repeat some characters) always encodes to its canonical code, so a
// non-canonical code comes back as the canonical code of the same character.
//
// Encoding: characters code page 932 cannot hold are never replaced; the result names the
// first such character and where it stands. A few other Unicode forms of its characters,
// as input methods outside Windows type them (U+301C WAVE DASH for U+FF5E, U+2212 for
// U+FF0D, ...), encode to the same bytes as the code page 932 form.

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace sjis {

// Private-use code points U+F700..U+F7FF stand for the raw bytes 0x00..0xFF. Code page 932
// itself decodes nothing into this block.
inline constexpr char16_t kRawByteBase = 0xF700;

QString toUnicode(std::string_view bytes);

struct EncodeResult {
    std::string bytes;          // the encoded text up to the first character that failed
    qsizetype badIndex = -1;    // index in the QString of the first character that failed, or -1
    char32_t badChar = 0;       // that character (a whole code point, surrogate pairs joined)
    bool ok() const { return badIndex < 0; }
};

EncodeResult fromUnicode(QStringView text);

// A fixed text of the program, written as UTF-8 in the source, as Shift-JIS bytes.
// The texts are known to be encodable; a text that is not is a programming error and aborts.
std::string fromUtf8(std::u8string_view text);

// Builds the conversion tables now, on any thread; the start-up work calls it on its own
// thread so that the first conversion (the window's captions) finds them ready instead of
// building them while the window waits. Conversions made meanwhile wait for them; calling
// it again does nothing.
void prepare();

} // namespace sjis
