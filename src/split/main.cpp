// zelqua-split: every genre of a five-choice bank (.5TQ) into mon files in one step, the
// files the window makes when its steps are repeated for each genre. Messages come in
// English and Japanese: UTF-8 in a file or a pipe, the console's own text on a Windows console.

#include "formats/BankLayout.h"
#include "platform/Console.h"
#include "platform/ProcessSetup.h"
#include "split/BankSplit.h"
#include "split/FileNames.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace bank = formats::bank;
namespace fs = std::filesystem;

enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

constexpr std::string_view kHelp =
    "使い方: zelqua-split 問題集.5TQ [-o フォルダ]\n"
    "\n"
    "五択問題集 (.5TQ) の8つのジャンルを、ジャンルごとに Zelqua 問題ファイル (.mon) にします。\n"
    "エディターで③⑦⑨④をジャンルの数だけ繰り返すのと同じファイルが一度にできます。\n"
    "  - ファイル名はジャンル名です。ファイル名に使えない文字は「_」になり、\n"
    "    名前のないジャンルは「ジャンル番号」になります。\n"
    "  - 既にあるファイルは上書きしません。同じ名前があれば「名前 (2).mon」のように番号を付けます。\n"
    "  - ﾀｲﾄﾙはジャンル名、ｼﾞｬﾝﾙはジャンル名に「■」を付けたもの(24バイトまで)です。\n"
    "  - 300問を超えるジャンルは300問以下に等分し、「名前_1.mon」「名前_2.mon」…とします\n"
    "    (10 個以上なら番号の桁を揃えます: 名前_01.mon …)。\n"
    "  - 8問未満のジャンルは作らず、その旨を表示します (名前も問題もない未使用のジャンルは黙って飛ばします)。\n"
    "  -o フォルダ   書き出し先 (既定: 現在のフォルダ。無ければ作ります)\n"
    "  -h, --help    この説明\n"
    "終了コード: 0 成功、1 問題集が読めない・壊れている・書き込めない、2 引数の誤り\n"
    "\n"
    "Usage: zelqua-split BANK.5TQ [-o DIR]\n"
    "\n"
    "Writes one Zelqua question file (.mon) per genre of a five-choice bank (.5TQ): the files\n"
    "the editor makes when steps 3, 7, 9 and 4 are repeated for every genre.\n"
    "  - Each file is named after its genre. Characters no file name may hold become \"_\";\n"
    "    a genre without a name is named \"ジャンル\" and its number.\n"
    "  - No existing file is overwritten: a name already taken gets \" (2)\", \" (3)\", ...\n"
    "  - The title is the genre name; the genre is the name followed by \"■\" (24 bytes at most).\n"
    "  - A genre of more than 300 questions is cut into equal parts of at most 300,\n"
    "    named NAME_1.mon, NAME_2.mon, ... (NAME_01.mon, ... from 10 parts on).\n"
    "  - A genre of fewer than 8 questions makes no file and is reported (an unused genre,\n"
    "    with neither name nor questions, silently).\n"
    "  -o DIR        where to write (default: the current folder; created when missing)\n"
    "  -h, --help    this text\n"
    "Exit status: 0 done, 1 bank unreadable or damaged or a file not written, 2 bad arguments\n";

// One message line: English, then Japanese.
void say(std::FILE* stream, const std::string& english, const std::string& japanese)
{
    platform::writeText(stream, english + " / " + japanese + "\n");
}

int fail(const std::string& english, const std::string& japanese)
{
    say(stderr, "zelqua-split: error: " + english, "エラー: " + japanese);
    return kFailure;
}

int usage(const std::string& english, const std::string& japanese)
{
    say(stderr, "zelqua-split: " + english, japanese);
    platform::writeText(stderr, "zelqua-split --help\n");
    return kUsage;
}

std::string quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

std::string bracketed(const std::string& name)
{
    return "「" + name + "」";
}

struct Options {
    std::string bank;
    std::string outDir = ".";
    bool help = false;
};

// Parses the arguments; returns the exit code of a usage error, or -1.
int parseArguments(int argc, char** argv, Options& options)
{
    bool haveBank = false;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnd && (arg == "-h" || arg == "--help")) {
            options.help = true;
            return -1;
        }
        if (!optionsEnd && arg == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && (arg == "-o" || arg == "--output")) {
            if (i + 1 >= argc)
                return usage("-o needs a folder", "-o の後にフォルダを指定してください");
            options.outDir = argv[++i];
        } else if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
            return usage("unknown option " + std::string(arg), "不明なオプション " + std::string(arg));
        } else if (haveBank) {
            return usage("only one bank at a time", "問題集は一度に一つだけ指定できます");
        } else {
            options.bank = arg;
            haveBank = true;
        }
    }
    if (!haveBank)
        return usage("no bank given", "問題集 (.5TQ) を指定してください");
    return -1;
}

// Creates `stem`.mon in the folder, or "`stem` (2).mon" and so on when the name is taken:
// creation is exclusive, so no file is ever overwritten, neither an old one nor one
// written a moment ago. Returns the path, or an empty text when no file could be created.
QString createUnique(const QString& folder, const QString& stem, QFile& file)
{
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? stem + QStringLiteral(".mon") : stem + QStringLiteral(" (%1).mon").arg(n);
        const QString path = QDir(folder).filePath(name);
        file.setFileName(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!file.exists())
            return {};
    }
    return {};
}

int run(const Options& options)
{
    const std::string& path = options.bank;
    // The argument is UTF-8 on both systems (on Windows the program's manifest sets the UTF-8
    // code page), and the file is named by it as such: from a plain std::string the Windows
    // build of the C++ library would take every byte for a character of its own.
    const fs::path bankPath(std::u8string(path.begin(), path.end()));
    std::error_code error;
    const fs::file_status status = fs::status(bankPath, error);
    if (error && error != std::errc::no_such_file_or_directory)
        return fail("cannot open " + path + ": " + error.message(), "問題集 " + path + " を開けません: " + error.message());
    if (!fs::exists(status))
        return fail("cannot open " + path + ": no such file", "問題集 " + path + " を開けません: ファイルがありません");
    if (!fs::is_regular_file(status))
        return fail(path + " is not a file", path + " はファイルではありません");
    std::ifstream in(bankPath, std::ios::binary);
    const std::uintmax_t size = fs::file_size(bankPath, error);
    if (!in || error)
        return fail("cannot open " + path, "問題集 " + path + " を開けません");

    std::vector<std::uint8_t> directory(bank::kDirectorySize);
    if (size < bank::kDirectorySize)
        return fail(path + " is no five-choice bank: " + std::to_string(size) + " bytes, shorter than the "
                        + std::to_string(bank::kDirectorySize) + "-byte genre directory",
                    path + " は五択問題集ではありません: " + std::to_string(size) + " バイトで、ジャンル表の "
                        + std::to_string(bank::kDirectorySize) + " バイトに足りません");
    if (!in.read(reinterpret_cast<char*>(directory.data()), std::streamsize(directory.size())))
        return fail("cannot read " + path, "問題集 " + path + " を読めません");

    const split::BankDirectory dir = split::readDirectory(directory);
    const std::int64_t needed = dir.bytesNeeded();
    if (std::int64_t(size) < needed)
        return fail(path + " is cut short: its genres count " + std::to_string(dir.records) + " questions, "
                        + std::to_string(needed) + " bytes, but the file holds " + std::to_string(size),
                    path + " は途中で切れています: ジャンル表の問題数は計 " + std::to_string(dir.records) + " 問 ("
                        + std::to_string(needed) + " バイト) ですが、ファイルは " + std::to_string(size) + " バイトです");
    if (std::int64_t(size) > needed)
        say(stderr, "note: the " + std::to_string(std::int64_t(size) - needed) + " bytes after the last question are not read",
            "注意: 最後の問題の後の " + std::to_string(std::int64_t(size) - needed) + " バイトは読みません");

    const QString folder = QFile::decodeName(QByteArray::fromStdString(options.outDir));
    if (!QDir().mkpath(folder))
        return fail("cannot create the folder " + options.outDir, "フォルダ " + options.outDir + " を作成できません");

    int written = 0;
    for (const split::Genre& genre : dir.genres) {
        const std::string label = "genre " + std::to_string(genre.number) + " " + quoted(split::displayName(genre.name));
        const std::string labelJa = "ジャンル" + std::to_string(genre.number) + bracketed(split::displayName(genre.name));
        const std::vector<split::Part> parts = split::partsOf(genre.count);
        if (parts.empty()) {
            // An empty genre without a name is a slot the bank does not use.
            if (genre.count == 0 && genre.name.empty())
                continue;
            if (genre.count == 0)
                say(stderr, "skipped " + label + ": no questions", labelJa + "は問題がないため作りません");
            else
                say(stderr, "skipped " + label + ": " + std::to_string(genre.count) + " questions, fewer than 8",
                    labelJa + "は " + std::to_string(genre.count) + " 問で、8問に満たないため作りません");
            continue;
        }

        std::vector<std::uint8_t> records(std::size_t(genre.count) * bank::kRecordSize);
        in.seekg(std::streamoff(bank::recordOffset(genre.firstRecord)));
        if (!in.read(reinterpret_cast<char*>(records.data()), std::streamsize(records.size())))
            return fail("cannot read " + path, "問題集 " + path + " を読めません");

        const QString stem = QString::fromStdString(split::fileStem(genre.name, genre.number));
        const int width = int(std::to_string(parts.size()).size());
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const split::Part& part = parts[i];
            const std::string bytes = split::monFileBytes(
                genre,
                std::span<const std::uint8_t>(records).subspan(std::size_t(part.first - 1) * bank::kRecordSize,
                                                               std::size_t(part.size()) * bank::kRecordSize),
                part.size());
            const QString partStem =
                parts.size() == 1 ? stem : stem + QStringLiteral("_%1").arg(int(i + 1), width, 10, QLatin1Char('0'));
            QFile file;
            const QString target = createUnique(folder, partStem, file);
            // Shown with the system's own separator (a backslash on Windows).
            const std::string shown = QDir::toNativeSeparators(
                target.isEmpty() ? QDir(folder).filePath(partStem + QStringLiteral(".mon")) : target).toStdString();
            if (target.isEmpty())
                return fail("cannot create " + shown, "ファイル " + shown + " を作成できません");
            const bool ok = file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) && file.flush();
            file.close();
            if (!ok || file.error() != QFileDevice::NoError) {
                file.remove();
                return fail("cannot write " + shown, "ファイル " + shown + " に書き込めません");
            }
            const std::string range = std::to_string(part.first) + "-" + std::to_string(part.last);
            say(stdout, shown + ": " + std::to_string(part.size()) + " questions, " + label + " " + range,
                std::to_string(part.size()) + "問 (" + labelJa + "の " + std::to_string(part.first) + "～"
                    + std::to_string(part.last) + " 問目)");
            std::fflush(stdout);
            ++written;
        }
    }
    if (written == 0)
        say(stderr, "no genre has 8 questions or more; no file written", "8問以上のジャンルがないため、ファイルは作りませんでした");
    return kSuccess;
}

} // namespace

int main(int argc, char** argv)
{
    // A file size limit then fails a write, which is reported and its file removed.
    platform::setUpProcess();
    Options options;
    if (const int code = parseArguments(argc, argv, options); code >= 0)
        return code;
    if (options.help) {
        platform::writeText(stdout, kHelp);
        return kSuccess;
    }
    return run(options);
}
