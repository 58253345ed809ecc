#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of the program. Read before the graphical
// application exists, so that the help, the version and a mistaken option
// are answered without a display.
struct ProgramOptions {
    // False: print Output and Errors and end with ExitCode; no window opens.
    bool Start = true;
    int ExitCode = 0;
    QString Output; // for standard output
    QString Errors; // for standard error

    QString Port;                           // --port: opened at start-up
    QString Settings;                       // --settings: line settings at start-up
    std::optional<QString> ExchangeCommand; // --exchange-and-quit, for tests
};

// Reads the arguments (program name first). Qt's own display options
// (-platform, -display, -style, ...) are left for the application to take.
ProgramOptions readProgramOptions(const QStringList& arguments);

// The text --help prints.
QString programUsage();
