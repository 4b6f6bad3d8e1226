#pragma once
// The command line the Gridcrafter tools share: --help, --version, options that take a
// value, "--" before arguments that begin with a dash, and the refusal of anything else.

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

struct ToolDescription {
    QString Name;              // as the program is called, "gridcrafter-render"
    QString Usage;             // the whole help text, ending in a newline
    int Arguments = 0;         // how many plain arguments it takes
    QStringList ValueOptions;  // long options that take a value, without their dashes
    bool MoreArguments = false;  // Arguments is then the least number, not the exact one
};

struct ToolCommandLine {
    QStringList Arguments;
    QMap<QString, QString> Values;  // by option name, for the value options given
    // Set when the run ends here: 0 after --help or --version, with Message for standard
    // output; 2 after a mistake, with Message (the mistake and the usage) for standard error.
    std::optional<int> ExitStatus;
    QString Message;
};

// arguments without the program's own name.
ToolCommandLine ParseToolCommandLine(const QStringList& arguments, const ToolDescription& tool);

// Writes the message of a command line that ends the run where it belongs; returns its status.
int EndRun(const ToolCommandLine& line);
