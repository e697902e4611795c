#include "support/TestFiles.h"

#include "codec/ShiftJis.h"

#include <QFile>

#include <stdexcept>

namespace support {

namespace {

constexpr std::size_t kEntry = 256;
constexpr std::size_t kRecord = 256;

// A field of `size` bytes: the text shifted by 0x80 (or plain), padded with stored blanks.
void putField(std::string& bytes, std::size_t at, std::size_t size, const std::string& text, bool shifted)
{
    if (text.size() > size)
        throw std::invalid_argument("field text too long");
    for (std::size_t i = 0; i < size; ++i) {
        if (i < text.size()) {
            const auto byte = static_cast<unsigned char>(text[i]);
            bytes[at + i] = static_cast<char>(shifted ? static_cast<unsigned char>(byte + 0x80) : byte);
        } else {
            bytes[at + i] = ' ';
        }
    }
}

} // namespace

std::string bankBytes(const std::vector<BankGenre>& genres)
{
    std::size_t records = 0;
    for (const BankGenre& genre : genres)
        records += genre.questions.size();
    std::string bytes(8 * kEntry + records * kRecord, '\0');
    std::size_t record = 0;
    for (std::size_t g = 0; g < 8; ++g) {
        const std::size_t entry = g * kEntry;
        const BankGenre empty;
        const BankGenre& genre = g < genres.size() ? genres[g] : empty;
        putField(bytes, entry, 16, genre.name, false);
        const int count = genre.countOverride >= 0 ? genre.countOverride : static_cast<int>(genre.questions.size());
        bytes[entry + 18] = static_cast<char>(count & 0xFF);
        bytes[entry + 19] = static_cast<char>((count >> 8) & 0xFF);
        for (const BankQuestion& question : genre.questions) {
            const std::size_t at = 8 * kEntry + record * kRecord;
            putField(bytes, at, 116, question.question, true);
            putField(bytes, at + 116, 28, question.answer, true);
            for (std::size_t j = 0; j < 4; ++j)
                putField(bytes, at + 144 + 28 * j, 28, j < question.wrong.size() ? question.wrong[j] : std::string(), true);
            ++record;
        }
    }
    return bytes;
}

BankGenre numberedGenre(int genre, int count, std::string name)
{
    BankGenre built;
    built.name = std::move(name);
    for (int n = 1; n <= count; ++n) {
        const std::string tag = std::to_string(genre) + "-" + std::to_string(n);
        built.questions.push_back({"Q" + tag, "A" + tag, {"W" + tag + "-1", "W" + tag + "-2", "W" + tag + "-3", "W" + tag + "-4"}});
    }
    return built;
}

std::string crlfText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string monText(const std::string& count, const std::string& title, const std::string& genre,
                    const std::vector<std::pair<std::string, std::string>>& answerAndQuestion, const std::string& mode)
{
    std::vector<std::string> lines{count + ",\"j42\",\"" + title + "\"", mode + ",\"\",\"" + genre + "\""};
    for (const auto& [answer, question] : answerAndQuestion)
        lines.push_back("15,\"" + answer + "\",\"" + question + "\"");
    return crlfText(lines);
}

TestFolder::TestFolder()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
}

QString TestFolder::path(const QString& name) const
{
    return m_dir.filePath(name);
}

QString TestFolder::write(const QString& name, const std::string& bytes) const
{
    const QString full = path(name);
    QFile file(full);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        throw std::runtime_error("cannot write test file");
    return full;
}

std::string TestFolder::bytesOf(const QString& path)
{
    return sjis::fromUnicode(path).bytes;
}

std::string TestFolder::read(const QString& name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace support
