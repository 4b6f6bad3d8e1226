// gridcrafter-render [--game DIR] [--hide LAYERS] IN.KVX OUT: draws a map file the way the
// editor shows it, into a PNG image or a bitmap.

#include "core/MapFile.h"
#include "core/MapModel.h"
#include "graphics/ImageFile.h"
#include "graphics/MapLayers.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "platform/CommandLine.h"
#include "platform/Errors.h"
#include "platform/FileIdentity.h"
#include "platform/GameFolder.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>

namespace {

const CommandLineDescription Tool{
    QStringLiteral("gridcrafter-render"),
    QStringLiteral(
        "Usage: gridcrafter-render [--game DIR] [--hide LAYER[,LAYER...]] IN.KVX OUT\n"
        "       gridcrafter-render --help | --version\n"
        "\n"
        "Draws the map file IN.KVX as the editor shows it and writes the whole map image,\n"
        "1590 by 1301 pixels, into OUT: a PNG image when its name ends in .png (in any\n"
        "letter case), otherwise a Windows bitmap.\n"
        "\n"
        "It works in the editor's directory of a game folder, DIR/Gridcrafter: the current\n"
        "directory, or the one of the game folder DIR. There it reads ..\\Korvane.INI (writing\n"
        "one with the defaults when it is missing) and the sprite sheets it names, as the\n"
        "editor does. Warnings go to standard error. On any failure it names the file on\n"
        "standard error, exits with status 1 and leaves no output file; a mistake in the\n"
        "command line, or a directory that is no game's, exits with status 2.\n"
        "\n"
        "--hide leaves the sprites of the layers named out of the picture, as the editor's\n"
        "View, Show does: heights, fire, smoke, swamp, mines, road, river.\n"),
    2,
    2,
    {QStringLiteral("game"), QStringLiteral("hide")}};

// The layers --hide leaves shown; nothing, with the reason in the line, when it names
// something else.
std::optional<LayerMask> ShownLayers(ParsedCommandLine& line)
{
    const auto hide = line.Values.constFind(QStringLiteral("hide"));
    if (hide == line.Values.cend())
        return AllLayers;
    if (const std::optional<LayerMask> hidden = ParseLayerNames(*hide))
        return static_cast<LayerMask>(AllLayers & ~*hidden);
    line.ExitStatus = 2;
    line.Message = Tool.Name +
                   QStringLiteral(
                       ": --hide names a layer that is none of heights, "
                       "fire, smoke, swamp, mines, road, river: ") +
                   *hide + QLatin1Char('\n');
    return std::nullopt;
}

void Render(const QString& mapPath, const QString& imagePath, LayerMask shown)
{
    if (SameFile(imagePath, mapPath))
        throw GcError(imagePath + QStringLiteral(" is the map file itself; nothing was written"));
    // A PNG is made from the map image, whose 8 MB keep the system busy for milliseconds:
    // they are readied on another core while the sheets load; without a thread, when the image
    // is first used. A bitmap needs no map image.
    std::jthread image;
    try {
        if (IsPngPath(imagePath))
            image = std::jthread([] { MapImage(); });
    } catch (const std::system_error&) {
    }
    LoadSettings();
    LoadSpriteLibrary();
    const QString notice = LongMapFileNotice(mapPath, ReadMapFile(mapPath));
    if (!notice.isEmpty())
        std::fprintf(stderr, "gridcrafter-render: %s\n", qPrintable(notice));
    WriteRedrawnMapFile(imagePath, shown);
}

// Outside a game's editor folder the settings file would be written into whatever folder
// lies above: refused, with a status of 2 like a mistake in the command line.
std::optional<int> EnterEditorFolder(ParsedCommandLine& line)
{
    EnterGivenGameFolder(line, Tool);
    if (line.ExitStatus)
        return EndRun(line);
    if (InGameEditorFolder())
        return std::nullopt;
    std::fprintf(stderr,
                 "gridcrafter-render: %s is no game's editor folder (no ..\\Korvane.INI or "
                 "..\\Sprites): it must run in <game>/Gridcrafter or be given --game DIR\n",
                 qPrintable(QDir::currentPath()));
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    // No application object: the tool needs none of its services, and making one takes a
    // good part of a millisecond.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    ParsedCommandLine line = ParseCommandLine(arguments, Tool);
    const std::optional<LayerMask> shown = ShownLayers(line);
    if (line.ExitStatus)
        return EndRun(line);
    // The paths name files from where the tool was started, also once it is in DIR/Gridcrafter.
    const bool entering = line.Values.contains(QStringLiteral("game"));
    const auto fromStart = [entering](const QString& path) {
        return entering ? QFileInfo(path).absoluteFilePath() : path;
    };
    const QString mapPath = fromStart(line.Arguments[0]);
    const QString imagePath = fromStart(line.Arguments[1]);
    if (const std::optional<int> refused = EnterEditorFolder(line))
        return *refused;
    try {
        Render(mapPath, imagePath, *shown);
    } catch (const SpriteSheetError& error) {
        // The bitmap reader's own text does not say which sheet it was.
        const QString text = error.Text().contains(error.Path())
                                 ? error.Text()
                                 : error.Path() + QStringLiteral(": ") + error.Text();
        std::fprintf(stderr, "gridcrafter-render: %s\n", qPrintable(text));
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gridcrafter-render: %s\n", error.what());
        return 1;
    }
    return 0;
}
