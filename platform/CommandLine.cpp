#include "platform/CommandLine.h"

#include "platform/Errors.h"
#include "platform/GameFolder.h"

#include <QCommandLineParser>
#include <cstdio>

ParsedCommandLine ParseCommandLine(const QStringList& arguments,
                                   const CommandLineDescription& program)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({help, version});
    for (const QString& name : program.ValueOptions)
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    for (const QString& name : program.FlagOptions)
        parser.addOption(QCommandLineOption(name));

    ParsedCommandLine line;
    // QCommandLineParser takes the first entry as the program's name.
    if (!parser.parse(QStringList{program.Name} + arguments)) {
        line.ExitStatus = 2;
        line.Message =
            program.Name + QStringLiteral(": ") + parser.errorText() + QChar('\n') + program.Usage;
        return line;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        line.ExitStatus = 0;
        line.Message =
            parser.isSet(help) ? program.Usage : program.Name + QStringLiteral(" " GC_VERSION "\n");
        return line;
    }
    line.Arguments = parser.positionalArguments();
    const qsizetype given = line.Arguments.size();
    if (given < program.LeastArguments || given > program.MostArguments) {
        line.ExitStatus = 2;
        line.Message = program.Usage;
        return line;
    }
    for (const QString& name : program.ValueOptions)
        if (parser.isSet(name))
            line.Values.insert(name, parser.value(name));
    for (const QString& name : program.FlagOptions)
        if (parser.isSet(name))
            line.Flags << name;
    return line;
}

void EnterGivenGameFolder(ParsedCommandLine& line, const CommandLineDescription& program)
{
    const auto game = line.Values.constFind(QStringLiteral("game"));
    if (game == line.Values.cend())
        return;
    try {
        EnterGameFolder(*game);
    } catch (const GcError& error) {
        line.ExitStatus = 2;
        line.Message = program.Name + QStringLiteral(": ") + error.Text() + QChar('\n');
    }
}

int EndRun(const ParsedCommandLine& line)
{
    const int status = line.ExitStatus.value_or(0);
    std::fputs(line.Message.toLocal8Bit().constData(), status == 0 ? stdout : stderr);
    return status;
}
