#include "app/CommandLine.h"

#include "platform/Console.h"

#include <QLocale>

#include <cstdio>
#include <string>

namespace app {

namespace {

// Qt's own options that take a value, as QGuiApplication and the X11 platform read them.
bool isQtOptionWithValue(const QString& option)
{
    static const QStringList options = {
        QStringLiteral("-platform"), QStringLiteral("-platformpluginpath"), QStringLiteral("-platformtheme"),
        QStringLiteral("-plugin"), QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowicon"),
        QStringLiteral("-qwindowtitle"), QStringLiteral("-session"), QStringLiteral("-style"),
        QStringLiteral("-stylesheet"), QStringLiteral("-display"), QStringLiteral("-geometry"),
        QStringLiteral("-name"), QStringLiteral("-title"),
    };
    return options.contains(option);
}

bool isQtFlag(const QString& option)
{
    static const QStringList flags = {QStringLiteral("-reverse"), QStringLiteral("-widgetcount"),
                                      QStringLiteral("-nograb"), QStringLiteral("-dograb")};
    if (flags.contains(option))
        return true;
    // The value joined with "=" (-style=fusion).
    const qsizetype equals = option.indexOf(QLatin1Char('='));
    return equals > 0 && isQtOptionWithValue(option.left(equals));
}

bool japaneseLocale()
{
    return QLocale::system().language() == QLocale::Japanese;
}

const char* usageText()
{
    if (japaneseLocale())
        return "使い方: zelqua-editor [ファイル...]\n"
               "\n"
               "五択問題集 (.5TQ) と Zelqua 問題ファイル (.mon) から新しい Zelqua 問題ファイルを作る\n"
               "エディターを開きます。ファイルを指定すると、ウィンドウにドロップしたときと同じに読み込みます:\n"
               "  - 種類は拡張子 (大文字小文字を問わず) で決まります。.5TQ は1つだけ、.mon は複数指定でき、\n"
               "    指定した順に並びます。\n"
               "  - 読めないファイルが1つでもあれば、何も読まずにその名前を知らせます。\n"
               "  -h, --help    この説明\n"
               "  --version     版数\n"
               "終了コード: 0 ウィンドウを閉じた、2 引数の誤り、3 画面が見つからない\n";
    return "Usage: zelqua-editor [FILE...]\n"
           "\n"
           "Opens the editor that makes new Zelqua question files (.mon) from five-choice banks (.5TQ)\n"
           "and Zelqua files. Files given are read as files dropped on the window:\n"
           "  - the extension (any case) decides the reader: one .5TQ bank, or any number of .mon\n"
           "    files, listed in the order given;\n"
           "  - when any file cannot be read, none is read and every such file is named.\n"
           "  -h, --help    this text\n"
           "  --version     the version\n"
           "Exit status: 0 window closed, 2 bad arguments, 3 no display found\n";
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine result;
    bool optionsEnd = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnd || argument == u"-" || !argument.startsWith(QLatin1Char('-'))) {
            result.files.append(argument);
        } else if (argument == u"--") {
            optionsEnd = true;
        } else if (argument == u"-h" || argument == u"--help") {
            result.action = CommandLine::Action::Help;
            return result;
        } else if (argument == u"--version") {
            result.action = CommandLine::Action::Version;
            return result;
        } else if (isQtOptionWithValue(argument)) {
            ++i;
        } else if (!isQtFlag(argument)) {
            result.action = CommandLine::Action::WrongOption;
            result.wrongOption = argument;
            return result;
        }
    }
    return result;
}

QStringList narrowArguments(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int answerCommandLine(const CommandLine& commandLine)
{
    switch (commandLine.action) {
    case CommandLine::Action::Run:
        return 0;
    case CommandLine::Action::Help:
        platform::writeText(stdout, usageText());
        return 0;
    case CommandLine::Action::Version:
        platform::writeText(stdout, "zelqua-editor " ZQ_VERSION "\n");
        return 0;
    case CommandLine::Action::WrongOption:
        platform::writeText(stderr, std::string("zelqua-editor: ") + (japaneseLocale() ? "不明なオプション" : "unknown option")
                                        + " " + commandLine.wrongOption.toStdString() + "\n\n" + usageText());
        return kUsageStatus;
    }
    return 0;
}

} // namespace app
