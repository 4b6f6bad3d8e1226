#include "app/CommandLine.h"

#include <QDir>
#include <QFileInfo>

namespace {

const CommandLineDescription Editor{
    QStringLiteral("gridcrafter"),
    QStringLiteral(
        "Usage: gridcrafter [--game DIR] [MAP.KVX]\n"
        "       gridcrafter --help | --version\n"
        "\n"
        "Starts the editor of Korvane battle maps and, once it has started, loads the map\n"
        "file MAP.KVX as Files, Load does.\n"
        "\n"
        "It works in the editor's directory of a game folder, DIR/Gridcrafter: the current\n"
        "directory, or the one of the game folder DIR, which must exist. There it reads\n"
        "..\\Korvane.INI (writing one with the defaults when it is missing) and the sprite\n"
        "sheets it names. MAP.KVX is taken from the directory the editor was started in.\n"
        "A mistake in the command line, or a game folder without a Gridcrafter directory,\n"
        "exits with status 2.\n"),
    0,
    1,
    {QStringLiteral("game")}};

}  // namespace

EditorStart PrepareEditorStart(const QStringList& arguments)
{
    EditorStart start{ParseCommandLine(arguments, Editor), QString()};
    if (start.Line.ExitStatus)
        return start;
    if (!start.Line.Arguments.isEmpty())
        start.MapPath = QDir::cleanPath(QFileInfo(start.Line.Arguments.front()).absoluteFilePath());
    EnterGivenGameFolder(start.Line, Editor);
    return start;
}

std::optional<int> AnswerWithoutDisplay(const QStringList& arguments)
{
    const ParsedCommandLine line = ParseCommandLine(arguments, Editor);
    if (line.ExitStatus != 0)
        return std::nullopt;
    return EndRun(line);
}
