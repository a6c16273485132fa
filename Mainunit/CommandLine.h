#pragma once
// The program's command line, read before any window system is touched:
// --help and --version answer and end the program, a mistake ends it with
// status 1, and Qt's own options (-platform, -style, -display, ...) pass on
// to the application object, which takes them out of argv itself.

#include <QString>
#include <QStringList>

#include <optional>

namespace mivrel {

// What the command line asks for: when `exitStatus` is set the program prints
// `output` to standard output and `error` to standard error and ends with
// that status; otherwise it starts.
struct CommandLineAnswer {
    std::optional<int> exitStatus;
    QString output;
    QString error;
};

// Reads `arguments` (the program's path first); needs no application object.
CommandLineAnswer ReadCommandLine(const QStringList &arguments);

// For main(): reads argv, prints the answer, and returns the exit status when
// the program is to end without opening a window.
std::optional<int> AnswerCommandLine(int argc, const char *const argv[]);

} // namespace mivrel
