#include "LargestInputs.h"

#include "formats/MonLimits.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>

namespace bench {

namespace {

void putShifted(QByteArray& record, int at, const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        record[at + int(i)] = static_cast<char>(static_cast<unsigned char>(text[i]) - 0x80);
}

} // namespace

std::string decodedText(std::size_t length, long number, char tag)
{
    std::string text = std::string(1, tag) + std::to_string(number);
    while (text.size() + 2 <= length) {
        text += '\x82';
        text += static_cast<char>(0xA0 + (text.size() % 80));
    }
    text.resize(length, 'x');
    return text;
}

QString writeLargestBank(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("largest.5TQ"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the bank");
    QByteArray directory(2048, '\0');
    for (int g = 0; g < 8; ++g) {
        const std::string name = "GENRE" + std::to_string(g + 1) + "-NAME-XYZ";
        for (std::size_t i = 0; i < 16; ++i)
            directory[g * 256 + int(i)] = i < name.size() ? name[i] : ' ';
        directory[g * 256 + 18] = char(0xFF);
        directory[g * 256 + 19] = char(0xFF);
    }
    file.write(directory);
    QByteArray record(256, '\0');
    for (long k = 1; k <= 8L * kGenreRecords; ++k) {
        putShifted(record, 0, decodedText(116, k, 'Q'));
        for (int slot = 0; slot < 5; ++slot)
            putShifted(record, 116 + 28 * slot, decodedText(28, k, char('A' + slot)));
        file.write(record);
    }
    return path;
}

std::string filledMonText(const std::string& line, std::size_t lines)
{
    const std::string header = "1,\"j42\",\"T\"\r\n0,\"\",\"G\"\r\n";
    const auto linesOf = std::size_t(std::count(line.begin(), line.end(), '\n'));
    std::string text = header;
    for (std::size_t n = 2; n + linesOf <= lines && text.size() + line.size() <= formats::kMaxMonFileBytes; n += linesOf)
        text += line;
    return text;
}

std::string longestQuestionsMonText()
{
    const std::string longest = "15,\"a\",\"" + std::string(formats::kMaxMonLineBytes - 10, 'x') + "\"\r\n";
    return filledMonText(longest, formats::kMaxMonLines);
}

std::string mostQuestionsMonText()
{
    return filledMonText("15,\"a\",\"q\"\r\n", formats::kMaxMonLines);
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const std::string& text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) != qint64(text.size()))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace bench
