#pragma once
// The command line the editor and the tools share: --help, --version, options that take a
// value, "--" before arguments that begin with a dash, and the refusal of anything else.

#include <QMap>
#include <QString>
#include <QStringList>
#include <limits>
#include <optional>
#include <utility>

inline constexpr int AnyNumberOfArguments = std::numeric_limits<int>::max();

struct CommandLineDescription {
    // The flag options may be left out: most programs take none.
    CommandLineDescription(QString name, QString usage, int leastArguments, int mostArguments,
                           QStringList valueOptions, QStringList flagOptions = {})
        : Name(std::move(name)),
          Usage(std::move(usage)),
          LeastArguments(leastArguments),
          MostArguments(mostArguments),
          ValueOptions(std::move(valueOptions)),
          FlagOptions(std::move(flagOptions))
    {
    }

    QString Name;              // as the program is called, "gridcrafter-render"
    QString Usage;             // the whole help text, ending in a newline
    int LeastArguments = 0;    // how many plain arguments it takes: at least
    int MostArguments = 0;     // and at most, or AnyNumberOfArguments
    QStringList ValueOptions;  // long options that take a value, without their dashes
    QStringList FlagOptions;   // long options that take none, without their dashes
};

struct ParsedCommandLine {
    QStringList Arguments;
    QMap<QString, QString> Values;  // by option name, for the value options given
    QStringList Flags;              // the flag options given
    // Set when the run ends here: 0 after --help or --version, with Message for standard
    // output; 2 after a mistake, with Message (the mistake and the usage) for standard error.
    std::optional<int> ExitStatus;
    QString Message;
};

// arguments without the program's own name.
ParsedCommandLine ParseCommandLine(const QStringList& arguments,
                                   const CommandLineDescription& program);

// For --game DIR: enters DIR/Gridcrafter (EnterGameFolder). When it cannot, the line ends the
// run with status 2 and the reason as its Message.
void EnterGivenGameFolder(ParsedCommandLine& line, const CommandLineDescription& program);

// Writes the message of a command line that ends the run where it belongs; returns its status.
int EndRun(const ParsedCommandLine& line);
