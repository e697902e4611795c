#pragma once

// Builders for the files a test reads: five-choice banks and mon files written byte by
// byte into a temporary folder, so no test depends on a fixture of unknown origin.

#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <string>
#include <vector>

namespace support {

// One question of a bank, as decoded Shift-JIS texts (the builder shifts them).
struct BankQuestion {
    std::string question;
    std::string answer;
    std::vector<std::string> wrong;  // up to four
};

struct BankGenre {
    std::string name;                    // plain text, at most 16 bytes
    std::vector<BankQuestion> questions; // count written into the entry unless countOverride
    int countOverride = -1;              // a count that differs from the questions held
};

// The bytes of a bank: eight genre entries (missing genres are empty) and the records.
std::string bankBytes(const std::vector<BankGenre>& genres);

// A genre of `count` questions "Q<g>-<n>" with answer "A<g>-<n>" and wrong answers
// "W<g>-<n>-<j>".
BankGenre numberedGenre(int genre, int count, std::string name);

// Lines joined with CR LF, each line ended by it.
std::string crlfText(const std::vector<std::string>& lines);

// A mon file text: header lines, then one "15,"A","Q"" line per question.
std::string monText(const std::string& count, const std::string& title, const std::string& genre,
                    const std::vector<std::pair<std::string, std::string>>& answerAndQuestion,
                    const std::string& mode = "0");

class TestFolder {
public:
    TestFolder();
    QString path(const QString& name) const;
    // Writes `bytes` to `name` in the folder and returns its full path.
    QString write(const QString& name, const std::string& bytes) const;
    // The full path as the editor's byte string.
    static std::string bytesOf(const QString& path);
    std::string read(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

} // namespace support
