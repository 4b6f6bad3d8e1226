#include "tools/ToolOptions.h"

#include <QCommandLineParser>
#include <cstdio>

ToolCommandLine ParseToolCommandLine(const QStringList& arguments, const ToolDescription& tool)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({help, version});
    for (const QString& name : tool.ValueOptions)
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));

    ToolCommandLine line;
    // QCommandLineParser takes the first entry as the program's name.
    if (!parser.parse(QStringList{tool.Name} + arguments)) {
        line.ExitStatus = 2;
        line.Message = tool.Name + QStringLiteral(": ") + parser.errorText() + QChar('\n') + tool.Usage;
        return line;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        line.ExitStatus = 0;
        line.Message = parser.isSet(help) ? tool.Usage
                                          : tool.Name + QStringLiteral(" " GC_VERSION "\n");
        return line;
    }
    line.Arguments = parser.positionalArguments();
    const qsizetype given = line.Arguments.size();
    if (given < tool.Arguments || (given > tool.Arguments && !tool.MoreArguments)) {
        line.ExitStatus = 2;
        line.Message = tool.Usage;
        return line;
    }
    for (const QString& name : tool.ValueOptions)
        if (parser.isSet(name))
            line.Values.insert(name, parser.value(name));
    return line;
}

int EndRun(const ToolCommandLine& line)
{
    const int status = line.ExitStatus.value_or(0);
    std::fputs(line.Message.toLocal8Bit().constData(), status == 0 ? stdout : stderr);
    return status;
}
