#pragma once

// The editor's command line: files to open at start, and the two options that print and exit.
//
//   zelqua-editor [FILE...]        files read as files dropped on the window are read
//   zelqua-editor --help | -h      usage, Japanese or English after the locale; exit 0
//   zelqua-editor --version        the version; exit 0
//
// Any other option prints the usage on standard error and exits 2. Qt's own options
// (-platform, -style, ...) are left for Qt; "--" ends the options.

#include <QStringList>

namespace app {

inline constexpr int kUsageStatus = 2;

struct CommandLine {
    enum class Action { Run, Help, Version, WrongOption };
    Action action = Action::Run;
    QStringList files;
    QString wrongOption;
};

// `arguments` as QCoreApplication::arguments() gives them: the program first.
CommandLine parseCommandLine(const QStringList& arguments);

// The command line as main() receives it, for the options: they are ASCII, so the narrow
// argv decides them before the application (and a display) exists. File names are taken
// from QCoreApplication::arguments(), which keeps every character on Windows too.
QStringList narrowArguments(int argc, const char* const* argv);

// Prints what Help, Version or WrongOption ask for and returns the exit status.
int answerCommandLine(const CommandLine& commandLine);

} // namespace app
