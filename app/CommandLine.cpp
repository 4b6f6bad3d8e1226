#include "app/CommandLine.h"

#include "platform/GameFolder.h"
#include "platform/UserGameFolder.h"

#include <QCoreApplication>
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
        "It works in the editor's directory of a game folder, GAME/Gridcrafter: that of the\n"
        "game folder DIR, which must exist; else the current directory, when it is a game's\n"
        "(..\\Korvane.INI or ..\\Sprites lie beside it); else that of your own game folder,\n"
        "$XDG_DATA_HOME/gridcrafter/game or ~/.local/share/gridcrafter/game, which is laid\n"
        "out with the installed sprite sheets on first use. There it reads ..\\Korvane.INI\n"
        "(writing one with the defaults when it is missing) and the sprite sheets it names.\n"
        "MAP.KVX is taken from the directory the editor was started in.\n"
        "A mistake in the command line, or a game folder without a Gridcrafter directory,\n"
        "exits with status 2; a game folder of your own that cannot be made, after a\n"
        "warning, with status 1.\n"),
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

QString InstalledSheets()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/gridcrafter/Sprites"));
}

void EnterUserGameFolderOutsideAGame(const ParsedCommandLine& line, const QString& sheets)
{
    if (line.Values.contains(QStringLiteral("game")) || InGameEditorFolder())
        return;
    const QString game = UserGameFolder();
    LayOutGameFolder(game, sheets);
    EnterGameFolder(game);
}

std::optional<int> AnswerWithoutDisplay(const QStringList& arguments)
{
    const ParsedCommandLine line = ParseCommandLine(arguments, Editor);
    if (line.ExitStatus != 0)
        return std::nullopt;
    return EndRun(line);
}
