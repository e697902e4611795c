// The Shift-JIS codec against the system's code page 932 converter (glibc's iconv CP932 on
// Linux, Windows' own on Windows), which it is built from, and against characters whose
// codes are known.
//
// The converter is asked one whole input at a time here (a byte, a pair, one character), so
// it checks the codec's tables and its decoding rule, not a copy of the codec.

#include "platform/Cp932.h"
#include "codec/ShiftJis.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

bool isLeadByte(unsigned b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool isRaw(QChar c)
{
    return c.unicode() >= sjis::kRawByteBase && c.unicode() <= sjis::kRawByteBase + 0xFF;
}

QString raw(unsigned b)
{
    return QString(QChar(char16_t(sjis::kRawByteBase + b)));
}

std::string_view view(const QByteArray& bytes)
{
    return { bytes.constData(), size_t(bytes.size()) };
}

QByteArray bytesOf(const sjis::EncodeResult& result)
{
    return QByteArray::fromStdString(result.bytes);
}

QByteArray hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper();
}

QByteArray codePoints(const QString& text)
{
    QByteArray out;
    for (QChar c : text)
        out += QByteArray("U+") + QByteArray::number(c.unicode(), 16).toUpper().rightJustified(4, '0') + ' ';
    return out.trimmed();
}

QByteArray describe(const QByteArray& input, const QString& actual, const QString& expected)
{
    return "bytes " + hex(input) + ": got " + codePoints(actual) + ", expected " + codePoints(expected);
}

// The system's code page 932 converter, asked one complete input at a time.
class Cp932Oracle final {
public:
    // The character the bytes decode to as a whole, if they are exactly one BMP character.
    std::optional<char16_t> decodeOne(const QByteArray& bytes)
    {
        const std::optional<char16_t> c = m_converter.decode(std::string_view(bytes.constData(), size_t(bytes.size())));
        if (!c || QChar::isSurrogate(*c))
            return std::nullopt;
        return c;
    }

    std::optional<QByteArray> encode(char16_t c)
    {
        const std::optional<quint16> code = m_converter.encode(c);
        if (!code)
            return std::nullopt;
        if (*code < 0x100)
            return QByteArray(1, char(*code));
        const char pair[2] = { char(*code >> 8), char(*code & 0xFF) };
        return QByteArray(pair, 2);
    }

    // The text a byte string reads as: at each position the two bytes if they form one
    // character, else the byte alone if it is one, else the byte's raw code point.
    // `nonCanonical` tells whether a pair was taken that does not encode back to itself.
    QString decode(const QByteArray& bytes, bool* nonCanonical = nullptr)
    {
        QString out;
        bool changed = false;
        qsizetype i = 0;
        while (i < bytes.size()) {
            if (i + 1 < bytes.size()) {
                const QByteArray pair = bytes.mid(i, 2);
                if (const std::optional<char16_t> c = decodeOne(pair)) {
                    out += QChar(*c);
                    changed = changed || encode(*c) != pair;
                    i += 2;
                    continue;
                }
            }
            out += byteAlone(uchar(bytes.at(i)));
            ++i;
        }
        if (nonCanonical)
            *nonCanonical = changed;
        return out;
    }

    QString byteAlone(uchar b)
    {
        if (const std::optional<char16_t> c = decodeOne(QByteArray(1, char(b))))
            return QString(QChar(*c));
        return raw(b);
    }

private:
    platform::Cp932Converter m_converter;
};

} // namespace

class ShiftJisTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void singleBytes_data();
    void singleBytes();
    void pairs_data();
    void pairs();
    void encodeTable_data();
    void encodeTable();

    void knownCharacters_data();
    void knownCharacters();
    void duplicates_data();
    void duplicates();
    void alternativeForms_data();
    void alternativeForms();

    void malformedBytes_data();
    void malformedBytes();
    void randomBytes_data();
    void randomBytes();
    void duplicateAfterRawLead_data();
    void duplicateAfterRawLead();

    void encodeFailures_data();
    void encodeFailures();
    void euroSignFollowsConverter();

    void fromUtf8_data();
    void fromUtf8();

    void bulkRoundTrip();

private:
    Cp932Oracle m_oracle;
    QList<QByteArray> m_nonCanonical;   // pair codes that encode back to another code
};

void ShiftJisTest::initTestCase()
{
    // The first call builds the tables.
    QElapsedTimer timer;
    timer.start();
    const QString first = sjis::toUnicode("\x82\xA0");
    const qint64 elapsed = timer.nsecsElapsed();
    QCOMPARE(first, u"あ"_s);
    qInfo("Shift-JIS tables built on first use in %.2f ms", double(elapsed) / 1e6);

    int validSingles = 0;
    QByteArray rawSingles;
    for (unsigned b = 0; b < 256; ++b) {
        const QString d = sjis::toUnicode(view(QByteArray(1, char(b))));
        QCOMPARE(d.size(), 1);
        if (isRaw(d.at(0)))
            rawSingles += char(b);
        else
            ++validSingles;
    }

    int validPairs = 0;
    int converterPairs = 0;
    int nonCanonical = 0;
    for (unsigned lead = 0; lead < 256; ++lead) {
        if (!isLeadByte(lead))
            continue;
        for (unsigned trail = 0; trail < 256; ++trail) {
            if (!isTrailByte(trail))
                continue;
            const char code[2] = { char(lead), char(trail) };
            const QByteArray x(code, 2);
            const QString d = sjis::toUnicode(view(x));
            if (d.size() == 1 && !isRaw(d.at(0))) {
                ++validPairs;
                if (bytesOf(sjis::fromUnicode(d)) != x)
                    ++nonCanonical;
            }
            if (const std::optional<char16_t> c = m_oracle.decodeOne(x)) {
                ++converterPairs;
                if (m_oracle.encode(*c) != x)
                    m_nonCanonical.append(x);
            }
        }
    }
    QCOMPARE(validPairs, converterPairs);
    QCOMPARE(nonCanonical, int(m_nonCanonical.size()));

    QByteArray rawNonLead;
    for (char b : rawSingles) {
        if (!isLeadByte(uchar(b)))
            rawNonLead += b;
    }
    qInfo("valid single bytes %d, bytes alone decoding to raw code points %d (not lead bytes: %s), "
          "valid pairs %d, non-canonical duplicates %d",
          validSingles, int(rawSingles.size()), hex(rawNonLead).constData(), validPairs, nonCanonical);
}

void ShiftJisTest::singleBytes_data()
{
    QTest::addColumn<int>("byte");
    for (int b = 0; b < 256; ++b)
        QTest::addRow("0x%02X", b) << b;
}

// A byte alone decodes as the converter says and encodes back to itself.
void ShiftJisTest::singleBytes()
{
    QFETCH(int, byte);
    const QByteArray x(1, char(byte));
    const QString d = sjis::toUnicode(view(x));
    const QString expected = m_oracle.byteAlone(uchar(byte));
    QVERIFY2(d == expected, describe(x, d, expected).constData());

    if (byte < 0x80)   // ASCII is itself, 0x5C and 0x7E included
        QCOMPARE(uint(d.at(0).unicode()), uint(byte));
    if (isLeadByte(uint(byte)))   // a lead byte without its trail byte is no character
        QCOMPARE(d, raw(byte));
    else if (!isRaw(d.at(0)))     // nothing valid lands in the reserved block
        QVERIFY(!isRaw(expected.at(0)));

    const sjis::EncodeResult e = sjis::fromUnicode(d);
    QVERIFY(e.ok());
    QCOMPARE(hex(bytesOf(e)), hex(x));

    // The raw code point stands for the byte only where the byte is no character alone;
    // typed or pasted for any other byte it is a character Shift-JIS cannot hold.
    const sjis::EncodeResult r = sjis::fromUnicode(raw(byte));
    if (d == raw(byte))
        QCOMPARE(hex(bytesOf(r)), hex(x));
    else
        QVERIFY2(!r.ok() && r.badChar == char32_t(raw(byte).at(0).unicode()), hex(bytesOf(r)).constData());
}

void ShiftJisTest::pairs_data()
{
    QTest::addColumn<int>("lead");
    for (int b = 0; b < 256; ++b)
        QTest::addRow("lead 0x%02X", b) << b;
}

// Every two-byte string decodes by the rule and encodes back to itself, except that a
// non-canonical duplicate becomes the canonical code of the same character.
void ShiftJisTest::pairs()
{
    QFETCH(int, lead);
    static const QSet<int> duplicateRows = { 0x87, 0xED, 0xEE, 0xFA, 0xFB, 0xFC };
    for (int trail = 0; trail < 256; ++trail) {
        const char code[2] = { char(lead), char(trail) };
        const QByteArray x(code, 2);
        bool nonCanonical = false;
        const QString expected = m_oracle.decode(x, &nonCanonical);
        const QString d = sjis::toUnicode(view(x));
        QVERIFY2(d == expected, describe(x, d, expected).constData());
        if (d.size() == 1)
            QVERIFY2(!isRaw(d.at(0)), describe(x, d, expected).constData());

        const sjis::EncodeResult e = sjis::fromUnicode(d);
        QVERIFY2(e.ok(), describe(x, d, expected).constData());
        const QByteArray back = bytesOf(e);
        if (!nonCanonical) {
            QVERIFY2(back == x, ("bytes " + hex(x) + " came back as " + hex(back)).constData());
            continue;
        }
        QVERIFY2(back != x, ("non-canonical " + hex(x) + " kept its code").constData());
        QVERIFY2(duplicateRows.contains(lead), ("duplicate outside the extension rows: " + hex(x)).constData());
        QCOMPARE(d.size(), 1);
        QCOMPARE(back.size(), 2);
        QCOMPARE(sjis::toUnicode(view(back)), d);
        QCOMPARE(hex(back), hex(m_oracle.encode(d.at(0).unicode()).value_or(QByteArray())));
    }
}

void ShiftJisTest::encodeTable_data()
{
    QTest::addColumn<int>("high");
    for (int b = 0; b < 256; ++b)
        QTest::addRow("U+%02Xxx", b) << b;
}

// Every BMP code unit alone encodes as the converter says, or is reported; the raw code
// points give their byte; whatever encodes decodes to one character with the same code.
void ShiftJisTest::encodeTable()
{
    QFETCH(int, high);
    for (int low = 0; low < 256; ++low) {
        const char16_t u = char16_t(high << 8 | low);
        const QString s(QChar{u});
        const QByteArray label = codePoints(s);
        const sjis::EncodeResult e = sjis::fromUnicode(s);

        if (isRaw(QChar(u))) {
            // Only the code point of a byte that is no character alone stands for it;
            // the others (U+F70A, a bare LF; U+F700, a NUL) cannot be stored.
            const uchar byte = uchar(u - sjis::kRawByteBase);
            if (m_oracle.byteAlone(byte) == QString(QChar(u))) {
                QVERIFY2(e.ok(), label.constData());
                QCOMPARE(hex(bytesOf(e)), hex(QByteArray(1, char(byte))));
            } else {
                QVERIFY2(!e.ok(), (label + " encoded to " + hex(bytesOf(e))).constData());
                QCOMPARE(uint(e.badChar), uint(u));
            }
            continue;
        }
        const std::optional<QByteArray> expected =
            QChar::isSurrogate(u) ? std::nullopt : m_oracle.encode(u);
        if (!expected) {
            QVERIFY2(!e.ok(), (label + " encoded to " + hex(bytesOf(e))).constData());
            QCOMPARE(e.badIndex, qsizetype(0));
            QCOMPARE(uint(e.badChar), uint(u));
            QVERIFY(e.bytes.empty());
            continue;
        }
        QVERIFY2(e.ok(), (label + " not encoded").constData());
        QCOMPARE(hex(bytesOf(e)), hex(*expected));
        const QString back = sjis::toUnicode(e.bytes);
        QCOMPARE(back.size(), 1);
        QVERIFY2(!isRaw(back.at(0)), label.constData());
        if (back != s)   // another Unicode form of the same character: same code
            QCOMPARE(hex(bytesOf(sjis::fromUnicode(back))), hex(*expected));
    }
}

void ShiftJisTest::knownCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("hiragana a") << u"あ"_s << QByteArray::fromHex("82A0");
    QTest::newRow("white star") << u"\u2606"_s << QByteArray::fromHex("8199");
    QTest::newRow("black square") << u"\u25A0"_s << QByteArray::fromHex("81A1");
    QTest::newRow("white diamond") << u"\u25C7"_s << QByteArray::fromHex("819E");
    QTest::newRow("black diamond") << u"\u25C6"_s << QByteArray::fromHex("819F");
    QTest::newRow("black circle") << u"\u25CF"_s << QByteArray::fromHex("819C");
    QTest::newRow("geta mark") << u"\u3013"_s << QByteArray::fromHex("81AC");
    QTest::newRow("ideographic space") << u"\u3000"_s << QByteArray::fromHex("8140");
    QTest::newRow("fullwidth tilde") << u"\uFF5E"_s << QByteArray::fromHex("8160");
    QTest::newRow("fullwidth hyphen-minus") << u"\uFF0D"_s << QByteArray::fromHex("817C");
    QTest::newRow("halfwidth middle dot") << u"\uFF65"_s << QByteArray::fromHex("A5");
    QTest::newRow("fullwidth left bracket") << u"\uFF3B"_s << QByteArray::fromHex("816D");
    QTest::newRow("fullwidth right bracket") << u"\uFF3D"_s << QByteArray::fromHex("816E");
    QTest::newRow("halfwidth katakana e") << u"\uFF74"_s << QByteArray::fromHex("B4");
    QTest::newRow("backslash") << u"\\"_s << QByteArray::fromHex("5C");
    QTest::newRow("tilde") << u"~"_s << QByteArray::fromHex("7E");
    QTest::newRow("much less-than") << u"\u226A"_s << QByteArray::fromHex("81E1");
    QTest::newRow("circled one") << u"\u2460"_s << QByteArray::fromHex("8740");
    QTest::newRow("greater-than over equal") << u"\u2267"_s << QByteArray::fromHex("8186");
    QTest::newRow("less-than over equal") << u"\u2266"_s << QByteArray::fromHex("8185");
    QTest::newRow("first user-defined") << u"\uE000"_s << QByteArray::fromHex("F040");
    QTest::newRow("last user-defined") << u"\uE757"_s << QByteArray::fromHex("F9FC");
    QTest::newRow("NUL") << QString(QChar(0)) << QByteArray(1, '\0');
    QTest::newRow("mixed text") << u"Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"_s
                                << QByteArray::fromHex("5A656C71756181E18CDC91F095CF8AB7B4C3DEA8C0B0566572322E31");
}

void ShiftJisTest::knownCharacters()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const sjis::EncodeResult e = sjis::fromUnicode(text);
    QVERIFY(e.ok());
    QCOMPARE(hex(bytesOf(e)), hex(bytes));
    const QString d = sjis::toUnicode(view(bytes));
    QVERIFY2(d == text, describe(bytes, d, text).constData());
}

void ShiftJisTest::duplicates_data()
{
    QTest::addColumn<QByteArray>("nonCanonical");
    QTest::addColumn<QString>("character");
    QTest::addColumn<QByteArray>("canonical");
    QTest::newRow("small roman one, NEC-selected IBM row")
        << QByteArray::fromHex("EEEF") << u"\u2170"_s << QByteArray::fromHex("FA40");
    QTest::newRow("roman one, IBM row") << QByteArray::fromHex("FA4A") << u"\u2160"_s << QByteArray::fromHex("8754");
    QTest::newRow("approximately equal, NEC row 13")
        << QByteArray::fromHex("8790") << u"\u2252"_s << QByteArray::fromHex("81E0");
    QTest::newRow("because, NEC row 13") << QByteArray::fromHex("879A") << u"\u2235"_s << QByteArray::fromHex("81E6");
    QTest::newRow("because, IBM row") << QByteArray::fromHex("FA5B") << u"\u2235"_s << QByteArray::fromHex("81E6");
    QTest::newRow("not sign, IBM row") << QByteArray::fromHex("FA54") << u"\uFFE2"_s << QByteArray::fromHex("81CA");
    QTest::newRow("not sign, NEC-selected IBM row")
        << QByteArray::fromHex("EEF9") << u"\uFFE2"_s << QByteArray::fromHex("81CA");
    QTest::newRow("kanji, NEC-selected IBM row") << QByteArray::fromHex("ED40") << u"\u7E8A"_s << QByteArray::fromHex("FA5C");
}

// A non-canonical code decodes to its character, which encodes to the canonical code.
void ShiftJisTest::duplicates()
{
    QFETCH(QByteArray, nonCanonical);
    QFETCH(QString, character);
    QFETCH(QByteArray, canonical);
    QCOMPARE(sjis::toUnicode(view(nonCanonical)), character);
    QCOMPARE(sjis::toUnicode(view(canonical)), character);
    QCOMPARE(hex(bytesOf(sjis::fromUnicode(character))), hex(canonical));
    QVERIFY(m_nonCanonical.contains(nonCanonical));
    QVERIFY(!m_nonCanonical.contains(canonical));
}

void ShiftJisTest::alternativeForms_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("wave dash") << u"\u301C"_s << QByteArray::fromHex("8160") << u"\uFF5E"_s;
    QTest::newRow("minus sign") << u"\u2212"_s << QByteArray::fromHex("817C") << u"\uFF0D"_s;
    QTest::newRow("em dash") << u"\u2014"_s << QByteArray::fromHex("815C") << u"\u2015"_s;
    QTest::newRow("double vertical line") << u"\u2016"_s << QByteArray::fromHex("8161") << u"\u2225"_s;
    QTest::newRow("cent sign") << u"\u00A2"_s << QByteArray::fromHex("8191") << u"\uFFE0"_s;
    QTest::newRow("pound sign") << u"\u00A3"_s << QByteArray::fromHex("8192") << u"\uFFE1"_s;
    QTest::newRow("not sign") << u"\u00AC"_s << QByteArray::fromHex("81CA") << u"\uFFE2"_s;
    QTest::newRow("yen sign") << u"\u00A5"_s << QByteArray::fromHex("5C") << u"\\"_s;
    QTest::newRow("overline") << u"\u203E"_s << QByteArray::fromHex("7E") << u"~"_s;
    QTest::newRow("inside text") << u"1\u301C3"_s << QByteArray::fromHex("31816033") << u"1\uFF5E3"_s;
}

// Other Unicode forms of JIS characters encode to the code page 932 code and come back in
// the code page 932 form.
void ShiftJisTest::alternativeForms()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, decoded);
    const sjis::EncodeResult e = sjis::fromUnicode(typed);
    QVERIFY(e.ok());
    QCOMPARE(hex(bytesOf(e)), hex(bytes));
    QCOMPARE(sjis::toUnicode(view(bytes)), decoded);
    QCOMPARE(hex(bytesOf(sjis::fromUnicode(decoded))), hex(bytes));
}

void ShiftJisTest::malformedBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const auto b = [](const char* text, qsizetype size) { return QByteArray(text, size); };
    const auto alone = [this](uchar byte) { return m_oracle.byteAlone(byte); };

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("lead byte alone") << b("\x82", 1) << raw(0x82);
    QTest::newRow("lead byte at the end") << b("a\x82\xA0\x82", 4) << u"aあ"_s + raw(0x82);
    QTest::newRow("lead byte before a space") << b("\x82\x20", 2) << raw(0x82) + u' ';
    QTest::newRow("lead byte before DEL") << b("\x81\x7F", 2) << raw(0x81) + QChar(0x7F);
    QTest::newRow("lead byte before NUL") << b("\x82\x00", 2) << raw(0x82) + QChar(0);
    QTest::newRow("unassigned pair, trail is ASCII") << b("\x85\x41", 2) << raw(0x85) + u'A';
    QTest::newRow("unassigned pair, trail is a lead") << b("\x85\x82\xA0", 3) << raw(0x85) + u"あ"_s;
    QTest::newRow("two lead bytes at the end") << b("\xFC\xFC", 2) << raw(0xFC) + raw(0xFC);
    QTest::newRow("lead bytes running on") << b("\x82\x82\x82", 3) << u"\uFF42"_s + raw(0x82);
    QTest::newRow("trail-range bytes alone")
        << b("\x40\x7E\x80\xA0\xFD\xFE\xFF", 7)
        << u"@~"_s + alone(0x80) + alone(0xA0) + alone(0xFD) + alone(0xFE) + alone(0xFF);
    QTest::newRow("half-width katakana then a trail") << b("\xB4\xA0", 2) << u"\uFF74"_s + alone(0xA0);
    QTest::newRow("NUL alone") << b("\0", 1) << QString(QChar(0));
    QTest::newRow("NULs around text") << b("\0\x82\xA0\0\0a", 6)
                                      << QChar(0) + u"あ"_s + QChar(0) + QChar(0) + u'a';
}

// Bytes that are not characters decode to raw code points, byte by byte, and everything
// encodes back to the very bytes.
void ShiftJisTest::malformedBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString oracle = m_oracle.decode(bytes);
    const QString d = sjis::toUnicode(view(bytes));
    QVERIFY2(d == expected, describe(bytes, d, expected).constData());
    QVERIFY2(d == oracle, describe(bytes, d, oracle).constData());
    const sjis::EncodeResult e = sjis::fromUnicode(d);
    QVERIFY(e.ok());
    QCOMPARE(hex(bytesOf(e)), hex(bytes));
}

void ShiftJisTest::randomBytes_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("any byte") << 0 << 20240601u;
    QTest::newRow("lead and trail bytes") << 1 << 77u;
    QTest::newRow("upper half only") << 2 << 9001u;
    QTest::newRow("NUL, controls and leads") << 3 << 4242u;
    QTest::newRow("with non-canonical duplicates") << 4 << 31337u;
}

// Random byte strings read as the converter reads them, and survive a round trip: exactly
// when they hold no non-canonical duplicate, up to the canonical codes otherwise.
void ShiftJisTest::randomBytes()
{
    QFETCH(int, kind);
    QFETCH(quint32, seed);
    QVERIFY(!m_nonCanonical.isEmpty());
    QRandomGenerator random(seed);
    const auto anyOf = [&random](std::initializer_list<uchar> choices) {
        return char(*(choices.begin() + random.bounded(int(choices.size()))));
    };
    const auto nextByte = [&]() -> char {
        switch (kind) {
        case 1: return random.bounded(2) ? char(0x81 + random.bounded(0x7C)) : char(0x40 + random.bounded(0xBD));
        case 2: return char(0x80 + random.bounded(0x80));
        case 3: return random.bounded(2) ? char(random.bounded(0x20)) : anyOf({ 0x80, 0x81, 0x82, 0x9F, 0xE0, 0xFC });
        default: return char(random.bounded(256));
        }
    };

    int changed = 0;
    for (int n = 0; n < 1000; ++n) {
        QByteArray x;
        const int length = random.bounded(49);
        while (x.size() < length) {
            if (kind == 4 && random.bounded(3) == 0)
                x += m_nonCanonical.at(random.bounded(int(m_nonCanonical.size())));
            else
                x += nextByte();
        }
        bool nonCanonical = false;
        const QString expected = m_oracle.decode(x, &nonCanonical);
        const QString d = sjis::toUnicode(view(x));
        QVERIFY2(d == expected, describe(x, d, expected).constData());

        const sjis::EncodeResult e = sjis::fromUnicode(d);
        QVERIFY2(e.ok(), hex(x).constData());
        const QByteArray back = bytesOf(e);
        QVERIFY2(sjis::toUnicode(e.bytes) == d, ("bytes " + hex(x) + " came back as " + hex(back)).constData());
        if (nonCanonical) {
            QCOMPARE(back.size(), x.size());
            changed += back != x;
        } else {
            QVERIFY2(back == x, ("bytes " + hex(x) + " came back as " + hex(back)).constData());
        }
    }
    if (kind == 4)
        QVERIFY(changed > 0);
}

void ShiftJisTest::duplicateAfterRawLead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("encoded");
    // EE EE is no pair, EE B5 is a duplicate whose canonical code FB D1 would join the raw
    // EE into the pair EE FB.
    QTest::newRow("canonical code would join") << QByteArray::fromHex("EEEEB5") << QByteArray::fromHex("EEEEB5");
    // Row 0x85 is empty, so the canonical FA 5C of ED 40 can follow the raw 0x85.
    QTest::newRow("canonical code cannot join") << QByteArray::fromHex("85ED40") << QByteArray::fromHex("85FA5C");
    // A byte that is neither a lead byte nor a character alone; which bytes those are is the
    // converter's business (0x80 for glibc; Windows reads 0x80 as U+0080).
    for (const uchar b : { 0x80, 0xA0, 0xFD, 0xFE, 0xFF }) {
        if (isRaw(m_oracle.byteAlone(b).at(0))) {
            QTest::addRow("after 0x%02X, a byte that is no lead", b)
                << QByteArray(1, char(b)) + QByteArray::fromHex("EEB5") << QByteArray(1, char(b)) + QByteArray::fromHex("FBD1");
            break;
        }
    }
}

// After a raw lead byte a duplicate keeps a code that does not join it, so the bytes
// still read as the same text.
void ShiftJisTest::duplicateAfterRawLead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, encoded);
    const QString d = sjis::toUnicode(view(bytes));
    QCOMPARE(d.size(), 2);
    QCOMPARE(d.at(0), raw(uchar(bytes.at(0))).at(0));
    QVERIFY(m_nonCanonical.contains(bytes.mid(1)));
    const sjis::EncodeResult e = sjis::fromUnicode(d);
    QVERIFY(e.ok());
    QCOMPARE(hex(bytesOf(e)), hex(encoded));
    QCOMPARE(sjis::toUnicode(e.bytes), d);
}

void ShiftJisTest::encodeFailures_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("badIndex");
    QTest::addColumn<uint>("badChar");
    QTest::addColumn<QByteArray>("before");
    const auto s = [](std::initializer_list<char16_t> units) { return QStringView(units.begin(), qsizetype(units.size())).toString(); };

    QTest::newRow("emoji between letters") << u"a😀b"_s << qsizetype(1) << 0x1F600u << QByteArray("a");
    QTest::newRow("emoji first") << u"😀"_s << qsizetype(0) << 0x1F600u << QByteArray();
    QTest::newRow("lone high surrogate") << s({ u'a', 0xD800, u'b' }) << qsizetype(1) << 0xD800u << QByteArray("a");
    QTest::newRow("high surrogate at the end") << s({ u'a', u'b', 0xD83D }) << qsizetype(2) << 0xD83Du << QByteArray("ab");
    QTest::newRow("lone low surrogate") << s({ 0xDE00, u'x' }) << qsizetype(0) << 0xDE00u << QByteArray();
    QTest::newRow("surrogates the wrong way round") << s({ u'x', 0xDE00, 0xD83D }) << qsizetype(1) << 0xDE00u << QByteArray("x");
    QTest::newRow("hangul") << u"한"_s << qsizetype(0) << 0xD55Cu << QByteArray();
    QTest::newRow("hangul after kana") << u"ジャンル한글"_s << qsizetype(4) << 0xD55Cu
                                       << QByteArray::fromHex("835783838393838B");
    QTest::newRow("accented latin") << u"café"_s << qsizetype(3) << 0xE9u << QByteArray("caf");
    QTest::newRow("first of two failures") << u"あé😀"_s << qsizetype(1) << 0xE9u << QByteArray::fromHex("82A0");
}

// A character code page 932 cannot hold is reported, whole and where it stands, with the
// bytes before it; nothing is replaced.
void ShiftJisTest::encodeFailures()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, badIndex);
    QFETCH(uint, badChar);
    QFETCH(QByteArray, before);
    const sjis::EncodeResult e = sjis::fromUnicode(text);
    QVERIFY(!e.ok());
    QCOMPARE(e.badIndex, badIndex);
    QCOMPARE(uint(e.badChar), badChar);
    QCOMPARE(hex(bytesOf(e)), hex(before));
}

// Whether "€" encodes is the converter's business; the codec agrees with it both ways.
void ShiftJisTest::euroSignFollowsConverter()
{
    const char16_t euro = 0x20AC;
    const std::optional<QByteArray> converter = m_oracle.encode(euro);
    const sjis::EncodeResult e = sjis::fromUnicode(QString(QChar(euro)));
    QCOMPARE(e.ok(), converter.has_value());
    const QString byte80 = sjis::toUnicode("\x80");
    if (converter) {
        QCOMPARE(hex(bytesOf(e)), hex(*converter));
        QCOMPARE(sjis::toUnicode(e.bytes), QString(QChar(euro)));
    } else {
        QCOMPARE(e.badIndex, qsizetype(0));
        QCOMPARE(uint(e.badChar), uint(euro));
        QVERIFY(byte80 != QString(QChar(euro)));
    }
    const QByteArray verdict = converter ? "encodes to " + hex(*converter) : QByteArray("does not encode");
    qInfo("U+20AC %s; byte 0x80 decodes to %s", verdict.constData(), codePoints(byte80).constData());
}

void ShiftJisTest::fromUtf8_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("bytes");
    const auto u8 = [](const char8_t* text) { return QByteArray(reinterpret_cast<const char*>(text)); };
    QTest::newRow("empty") << u8(u8"") << QByteArray();
    QTest::newRow("genre") << u8(u8"ジャンル") << QByteArray::fromHex("835783838393838B");
    QTest::newRow("title line start") << u8(u8"　　タイトル☆☆") << QByteArray::fromHex("81408140835E83438367838B81998199");
    QTest::newRow("title line middle") << u8(u8"☆☆■■　ジャンル◇◇")
                                       << QByteArray::fromHex("8199819981A181A18140835783838393838B819E819E");
    QTest::newRow("entry line pieces") << u8(u8" ◆●〓■") << QByteArray::fromHex("20819F819C81AC81A1");
    QTest::newRow("window caption") << u8(u8"Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1")
                                    << QByteArray::fromHex("5A656C71756181E18CDC91F095CF8AB7B4C3DEA8C0B0566572322E31");
}

void ShiftJisTest::fromUtf8()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, bytes);
    const std::u8string_view text(reinterpret_cast<const char8_t*>(utf8.constData()), size_t(utf8.size()));
    QCOMPARE(hex(QByteArray::fromStdString(sjis::fromUtf8(text))), hex(bytes));
}

// Many short strings, as a loaded bank gives them, decode and encode fast and unchanged.
void ShiftJisTest::bulkRoundTrip()
{
    QList<QByteArray> pieces;
    for (char c = 0x20; c < 0x7F; ++c)
        pieces.append(QByteArray(1, c));
    for (unsigned lead : { 0x81u, 0x82u, 0x83u, 0x88u, 0x8Cu, 0x93u, 0x96u, 0x9Fu, 0xE0u, 0xE9u }) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const char code[2] = { char(lead), char(trail) };
            const QByteArray x(code, 2);
            const QString d = sjis::toUnicode(view(x));
            if (d.size() == 1 && !isRaw(d.at(0)) && bytesOf(sjis::fromUnicode(d)) == x)
                pieces.append(x);
        }
    }
    QVERIFY(pieces.size() > 1000);

    constexpr int kCount = 300000;
    QRandomGenerator random(123456u);
    std::vector<std::string> mixed;
    std::vector<std::string> ascii;
    mixed.reserve(kCount);
    ascii.reserve(kCount);
    qsizetype mixedBytes = 0;
    qsizetype asciiBytes = 0;
    for (int n = 0; n < kCount; ++n) {
        std::string text;
        for (int k = random.bounded(1, 20); k > 0; --k)
            text += pieces.at(random.bounded(int(pieces.size()))).toStdString();
        mixedBytes += qsizetype(text.size());
        mixed.push_back(std::move(text));
        std::string plain(size_t(random.bounded(1, 40)), 'x');
        for (char& c : plain)
            c = char(random.bounded(0x20, 0x7F));
        asciiBytes += qsizetype(plain.size());
        ascii.push_back(std::move(plain));
    }

    QElapsedTimer timer;
    timer.start();
    std::vector<QString> decoded;
    decoded.reserve(kCount);
    for (const std::string& text : mixed)
        decoded.push_back(sjis::toUnicode(text));
    const qint64 decodeNs = timer.nsecsElapsed();

    timer.restart();
    std::vector<std::string> encoded;
    encoded.reserve(kCount);
    for (const QString& text : decoded)
        encoded.push_back(sjis::fromUnicode(text).bytes);
    const qint64 encodeNs = timer.nsecsElapsed();

    timer.restart();
    qsizetype asciiUnits = 0;
    for (const std::string& text : ascii)
        asciiUnits += sjis::toUnicode(text).size();
    const qint64 asciiNs = timer.nsecsElapsed();

    // One long ASCII text against filling fresh memory of the same size as the result, which
    // is the least any conversion costs.
    const std::string longText(16 * 1024 * 1024, 'q');
    timer.restart();
    const QString longDecoded = sjis::toUnicode(longText);
    const qint64 longNs = timer.nsecsElapsed();
    timer.restart();
    const std::u16string filled(longText.size(), u'q');
    const qint64 fillNs = timer.nsecsElapsed();

    QVERIFY(encoded == mixed);
    QCOMPARE(asciiUnits, asciiBytes);
    QCOMPARE(longDecoded.size(), qsizetype(longText.size()));
    QCOMPARE(longDecoded.count(u'q'), qsizetype(longText.size()));
    QCOMPARE(filled.size(), longText.size());

    qInfo("%d mixed strings (%lld bytes): decode %.1f ms, encode %.1f ms; %d ASCII strings (%lld bytes): "
          "decode %.1f ms; 16 MiB ASCII: decode %.1f ms, filling 32 MiB of fresh memory %.1f ms",
          kCount, static_cast<long long>(mixedBytes), double(decodeNs) / 1e6, double(encodeNs) / 1e6, kCount,
          static_cast<long long>(asciiBytes), double(asciiNs) / 1e6, double(longNs) / 1e6, double(fillNs) / 1e6);
}

QTEST_APPLESS_MAIN(ShiftJisTest)
#include "ShiftJisTest.moc"
