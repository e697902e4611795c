// Field decoding and record decoding of a bank, on short and hostile spans.

#include "formats/BankRecord.h"
#include "formats/FieldText.h"

#include <QTest>

#include <vector>

using formats::FieldCoding;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

std::span<const std::uint8_t> span(const QByteArray& a)
{
    return {reinterpret_cast<const std::uint8_t*>(a.constData()), static_cast<std::size_t>(a.size())};
}

QByteArray decoded(const QByteArray& stored, FieldCoding coding)
{
    const std::string text = formats::decodeField(span(stored), coding);
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

class FieldTextTest final : public QObject {
    Q_OBJECT

private slots:
    void plainField_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("16 bytes, no run") << QByteArray("ABCDEFGHIJKLMNOP") << QByteArray("ABCDEFGHIJKLMNOP");
        QTest::newRow("ends at two spaces") << QByteArray("Name  XXXXXXXXXX") << QByteArray("Name");
        QTest::newRow("15 bytes + one space keeps it") << QByteArray("ABCDEFGHIJKLMNO ") << QByteArray("ABCDEFGHIJKLMNO ");
        QTest::newRow("single inner space") << QByteArray("A B             ") << QByteArray("A B");
        QTest::newRow("starts with run") << QByteArray("  ABCDEFGHIJKLMN") << QByteArray();
        QTest::newRow("zero byte ends") << bytes({'A', 'B', 0, 'C'}) << QByteArray("AB");
        QTest::newRow("double-byte name") << bytes({0x83, 0x57, 0x83, 0x83, 0x20, 0x20}) << bytes({0x83, 0x57, 0x83, 0x83});
        QTest::newRow("empty span") << QByteArray() << QByteArray();
        QTest::newRow("one byte") << QByteArray("Z") << QByteArray("Z");
        QTest::newRow("space at end of short span") << QByteArray("AB ") << QByteArray("AB ");
    }
    void plainField()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, text);
        QCOMPARE(decoded(stored, FieldCoding::Plain), text);
    }

    void shiftedField_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("flip and lone space") << bytes({0x82, 0x20, 0x41}) << bytes({0x02, 0xA0, 0xC1});
        QTest::newRow("run tested on stored bytes") << bytes({0x01, 0x20, 0x20, 0x05}) << bytes({0x81});
        QTest::newRow("stored 0x80 ends") << bytes({0x02, 0x22, 0x80, 0x03}) << bytes({0x82, 0xA2});
        QTest::newRow("stored 0x00 gives 0x80") << bytes({0x00, 0x7F, 0xFF}) << bytes({0x80, 0xFF, 0x7F});
        QTest::newRow("starts with run") << bytes({0x20, 0x20, 0x01}) << QByteArray();
        QTest::newRow("last byte space") << bytes({0x01, 0x02, 0x20}) << bytes({0x81, 0x82, 0xA0});
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void shiftedField()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, text);
        QCOMPARE(decoded(stored, FieldCoding::Shifted), text);
    }

    // Whole fields take the vectorised path, cut fields the byte loop: both must agree on
    // every end rule, wherever the end falls.
    void wholeAndCutFieldsAgree_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("coding");
        for (int size : {16, 28, 116})
            for (int coding : {0, 1})
                QTest::addRow("%d %s", size, coding ? "shifted" : "plain") << size << coding;
    }
    void wholeAndCutFieldsAgree()
    {
        QFETCH(int, size);
        QFETCH(int, coding);
        const auto c = coding ? FieldCoding::Shifted : FieldCoding::Plain;
        const std::uint8_t specials[] = {0x20, 0x80, 0x00, 0x41, 0xA0};
        for (int pos = 0; pos < size; ++pos) {
            for (std::uint8_t special : specials) {
                for (bool pair : {false, true}) {
                    QByteArray stored(size, '\x41');
                    stored[pos] = char(special);
                    if (pair && pos + 1 < size)
                        stored[pos + 1] = char(special);
                    // The end rules, byte by byte, as a reference for both paths.
                    const auto reference = [coding](const QByteArray& field) {
                        QByteArray text;
                        for (qsizetype i = 0; i < field.size(); ++i) {
                            const auto b = std::uint8_t(field[i]);
                            if (b == 0x20 && i + 1 < field.size() && std::uint8_t(field[i + 1]) == 0x20)
                                break;
                            const auto d = std::uint8_t(b + (coding ? 0x80 : 0));
                            if (d == 0)
                                break;
                            text.append(char(d));
                        }
                        return text;
                    };
                    QCOMPARE(decoded(stored, c), reference(stored));
                    // The same field one byte short goes through the other path.
                    QCOMPARE(decoded(stored.left(size - 1), c), reference(stored.left(size - 1)));
                }
            }
        }
    }

    void fullQuestionWithoutRunIs116Bytes()
    {
        QByteArray stored(116, '\x41');
        QCOMPARE(decoded(stored, FieldCoding::Shifted).size(), 116);
    }

    void genreEntry_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("count");
        QByteArray full(256, '\0');
        full.replace(0, 16, "Genre           ");
        full[16] = '\x99';
        full[17] = '\x77';
        full[18] = '\x34';
        full[19] = '\x12';
        QTest::newRow("4660, bytes 16-17 ignored") << full << QByteArray("Genre") << 4660;
        QByteArray max = full;
        max[18] = '\xFF';
        max[19] = '\xFF';
        QTest::newRow("65535") << max << QByteArray("Genre") << 65535;
        QTest::newRow("cut after low byte") << full.left(19) << QByteArray("Genre") << 0x34;
        QTest::newRow("cut inside name") << full.left(3) << QByteArray("Gen") << 0;
        QTest::newRow("empty") << QByteArray() << QByteArray() << 0;
    }
    void genreEntry()
    {
        QFETCH(QByteArray, entry);
        QFETCH(QByteArray, name);
        QFETCH(int, count);
        const auto genre = formats::decodeGenreEntry(span(entry));
        QCOMPARE(QByteArray::fromStdString(genre.name), name);
        QCOMPARE(int(genre.count), count);
    }

    void record()
    {
        QByteArray rec(256, ' ');
        const auto put = [&rec](int offset, const QByteArray& decodedText) {
            for (qsizetype i = 0; i < decodedText.size(); ++i)
                rec[offset + i] = static_cast<char>(static_cast<std::uint8_t>(decodedText[i]) + 0x80);
        };
        put(0, "Question?");
        const QByteArray answers[5] = {"right", "wrong1", "wrong2", "wrong3", "w4"};
        for (int slot = 0; slot < 5; ++slot)
            put(116 + 28 * slot, answers[slot]);
        const auto view = [](std::string_view v) { return QByteArray(v.data(), qsizetype(v.size())); };
        formats::BankRecord whole;
        formats::decodeRecord(span(rec), whole);
        QCOMPARE(view(whole.question.view()), QByteArray("Question?"));
        for (int slot = 0; slot < 5; ++slot)
            QCOMPARE(view(whole.answers[std::size_t(slot)].view()), answers[slot]);

        // Cut inside answer slot 1: slot 0 intact, slot 1 partial, later slots empty.
        // The same buffers are reused, as the window does record after record.
        formats::decodeRecord(span(rec.left(116 + 28 + 3)), whole);
        QCOMPARE(view(whole.answers[0].view()), QByteArray("right"));
        QCOMPARE(view(whole.answers[1].view()), QByteArray("wro"));
        QVERIFY(whole.answers[2].view().empty() && whole.answers[4].view().empty());

        formats::decodeRecord({}, whole);
        QVERIFY(whole.question.view().empty() && whole.answers[0].view().empty());
    }

    void recordOffsets()
    {
        QCOMPARE(formats::bank::recordOffset(1), std::int64_t(2048));
        QCOMPARE(formats::bank::recordOffset(11), std::int64_t(4608));
        QCOMPARE(formats::bank::recordOffset(2000000000), std::int64_t(2048) + std::int64_t(1999999999) * 256);
        QVERIFY(formats::bank::recordOffset(0) < std::int64_t(formats::bank::kFirstRecordOffset));
    }

    void clampedSlice()
    {
        const std::vector<std::uint8_t> data(10, 1);
        QCOMPARE(formats::clampedSlice(data, 4, 100).size(), std::size_t(6));
        QCOMPARE(formats::clampedSlice(data, 10, 1).size(), std::size_t(0));
        QCOMPARE(formats::clampedSlice(data, SIZE_MAX, SIZE_MAX).size(), std::size_t(0));
        QCOMPARE(formats::clampedSlice(data, 2, SIZE_MAX).size(), std::size_t(8));
    }
};

QTEST_APPLESS_MAIN(FieldTextTest)
#include "FieldTextTest.moc"
