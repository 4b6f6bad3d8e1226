// gridcrafter-render [--game DIR] [--hide LAYERS] [--size N] IN.KVX OUT, or
// gridcrafter-render [--game DIR] [--hide LAYERS] [--size N] [--format png|bmp] --out-dir DIR
// MAP...: draws map files the way the editor shows them, into PNG images or bitmaps, whole or as
// thumbnails.

#include "core/MapFile.h"
#include "graphics/ImageFile.h"
#include "graphics/MapLayers.h"
#include "graphics/MapPicture.h"
#include "graphics/PngWriter.h"
#include "graphics/SpriteLibrary.h"
#include "platform/CommandLine.h"
#include "platform/Errors.h"
#include "platform/FileIdentity.h"
#include "platform/FileUri.h"
#include "platform/GameFolder.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/UserGameFolder.h"
#include "platform/WinPath.h"
#include "settings/Settings.h"
#include "tools/render/Batch.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <optional>
#include <variant>

namespace {

constexpr int SmallestEdge = 16;
constexpr int LargestEdge = 1590;

const CommandLineDescription Tool{
    QStringLiteral("gridcrafter-render"),
    QStringLiteral(
        "Usage: gridcrafter-render [--game DIR] [--hide LAYER[,LAYER...]] [--size N] IN.KVX OUT\n"
        "       gridcrafter-render [--game DIR] [--hide LAYER[,LAYER...]] [--size N]\n"
        "                          [--format png|bmp] --out-dir DIR MAP.KVX...\n"
        "       gridcrafter-render --help | --version\n"
        "\n"
        "Draws the map file IN.KVX as the editor shows it and writes the whole map image,\n"
        "1590 by 1301 pixels, into OUT: a PNG image when its name ends in .png (in any\n"
        "letter case), otherwise a Windows bitmap. With --size N (16 to 1590) it writes a PNG\n"
        "of the map scaled down to fit within N by N pixels instead, as a thumbnailer does.\n"
        "IN and OUT may be file:// URIs.\n"
        "\n"
        "With --out-dir it draws every MAP.KVX into DIR/<name>.png, or .bmp with --format bmp,\n"
        "loading the sprite sheets once. A map that cannot be drawn is named on standard\n"
        "error and the others go on; the status is then 1.\n"
        "\n"
        "In the editor's directory of a game folder, DIR/Gridcrafter (the current directory,\n"
        "or the one of the game folder DIR), it reads ..\\Korvane.INI (writing one with the\n"
        "defaults when it is missing) and the sprite sheets it names, as the editor does, and\n"
        "warnings go to standard error. Anywhere else it uses your own game folder\n"
        "(~/.local/share/gridcrafter/game) when there is one, else the sprite sheets installed\n"
        "with it, and the default settings where there is no Korvane.INI: it writes nothing\n"
        "but the images and says nothing on standard error unless it fails.\n"
        "\n"
        "--hide leaves the sprites of the layers named out of the picture, as the editor's\n"
        "View, Show does: heights, fire, smoke, swamp, mines, road, river.\n"
        "\n"
        "On any failure it names the file on standard error, exits with status 1 and leaves no\n"
        "output file; a mistake in the command line exits with status 2.\n"),
    1,
    AnyNumberOfArguments,
    {QStringLiteral("game"), QStringLiteral("size"), QStringLiteral("format"),
     QStringLiteral("out-dir"), QStringLiteral("hide")}};

// Warnings and questions go nowhere: a file manager shows every line on standard error as a
// warning.
class SilentPrompts : public Prompts {
public:
    void Warning(const QString&) override {}
    void Information(const QString&) override {}
    bool AskYesNo(const QString&) override { return true; }
};

// What the command line asks for, its paths as given (URIs decoded).
struct Request {
    QStringList Maps;
    QString Out;
    QString OutDir;
    int Edge = 0;
    bool Png = true;
    LayerMask Shown = AllLayers;
};

int Mistake(const QString& text)
{
    std::fprintf(stderr, "gridcrafter-render: %s\n%s", qPrintable(text), qPrintable(Tool.Usage));
    return 2;
}

std::optional<QString> PathArgument(const QString& argument)
{
    std::optional<QString> path = LocalPathOf(argument);
    if (!path)
        Mistake(argument + QStringLiteral(" names no local file"));
    return path;
}

// The request, or the exit status of a mistake.
std::variant<Request, int> ReadRequest(const ParsedCommandLine& line)
{
    Request request;
    const auto value = [&line](const char* name) {
        return line.Values.value(QString::fromLatin1(name));
    };
    if (line.Values.contains(QStringLiteral("size"))) {
        bool number = false;
        request.Edge = value("size").toInt(&number);
        if (!number || request.Edge < SmallestEdge || request.Edge > LargestEdge)
            return Mistake(QStringLiteral("--size takes a number of pixels from %1 to %2")
                               .arg(SmallestEdge)
                               .arg(LargestEdge));
    }
    if (line.Values.contains(QStringLiteral("hide"))) {
        const std::optional<LayerMask> hidden = ParseLayerNames(value("hide"));
        if (!hidden)
            return Mistake(QStringLiteral("--hide names a layer that is none of heights, fire, "
                                          "smoke, swamp, mines, road, river: ") +
                           value("hide"));
        request.Shown = static_cast<LayerMask>(AllLayers & ~*hidden);
    }
    const bool batch = line.Values.contains(QStringLiteral("out-dir"));
    if (line.Values.contains(QStringLiteral("format"))) {
        const QString format = value("format").toLower();
        if (!batch || (format != QStringLiteral("png") && format != QStringLiteral("bmp")))
            return Mistake(QStringLiteral("--format takes png or bmp, with --out-dir"));
        request.Png = format == QStringLiteral("png");
    }
    if (!batch && line.Arguments.size() != 2)
        return Mistake(QStringLiteral("give a map file and an output file, or --out-dir"));
    QStringList paths;
    for (const QString& argument : line.Arguments) {
        const std::optional<QString> path = PathArgument(argument);
        if (!path)
            return 2;
        paths.append(*path);
    }
    if (batch) {
        const std::optional<QString> dir = PathArgument(value("out-dir"));
        if (!dir)
            return 2;
        request.OutDir = *dir;
        request.Maps = paths;
    } else {
        request.Maps = {paths[0]};
        request.Out = paths[1];
    }
    return request;
}

// The paths name files from where the tool was started, also once it is in another folder.
void MakeAbsolute(Request& request)
{
    for (QString& map : request.Maps)
        map = QFileInfo(map).absoluteFilePath();
    if (!request.Out.isEmpty())
        request.Out = QFileInfo(request.Out).absoluteFilePath();
    if (!request.OutDir.isEmpty())
        request.OutDir = QFileInfo(request.OutDir).absoluteFilePath();
}

// Outside any game, as a file manager starts it: the user's own game folder, or the sheets
// installed with the tool and the default settings. Nothing is written there and nothing said.
void UseAnyGame(Request& request)
{
    static SilentPrompts silent;
    InstallPrompts(&silent);
    const QString game = UserGameFolder();
    if (QFileInfo(QDir(game).filePath(QStringLiteral("Gridcrafter"))).isDir()) {
        MakeAbsolute(request);
        try {
            EnterGameFolder(game);
            return;
        } catch (const GcError&) {
        }
    }
    SpriteDir =
        QDir::cleanPath(ProgramFolder() + QStringLiteral("/../share/gridcrafter/Sprites")) + "/";
}

// In a game's editor folder the settings are read as the editor reads them, a missing file
// written with the defaults; outside, a file that is there is read and none is written.
void LoadSheets(bool outside)
{
    if (!outside || QFileInfo(NativePath(SettingsFileName)).isFile())
        LoadSettings();
    LoadMapSprites();
}

void RenderOne(const Request& request, bool outside)
{
    const QString& map = request.Maps[0];
    if (SameFile(request.Out, map))
        throw GcError(request.Out + QStringLiteral(" is the map file itself; nothing was written"));
    LoadSheets(outside);
    const QString notice = LongMapFileNotice(map, ReadMapFile(map));
    if (!notice.isEmpty() && !outside)
        std::fprintf(stderr, "gridcrafter-render: %s\n", qPrintable(notice));
    if (request.Edge > 0)
        WritePngFile(request.Out, RedrawnMapThumbnail(request.Edge, request.Shown));
    else
        WriteRedrawnMapFile(request.Out, request.Shown);
}

int Render(const Request& request, bool outside)
{
    if (request.OutDir.isEmpty()) {
        RenderOne(request, outside);
        return 0;
    }
    if (!QFileInfo(request.OutDir).isDir())
        throw GcError(request.OutDir + QStringLiteral(" is no folder; nothing was written"));
    LoadSheets(outside);
    return RenderBatch(
        {request.Maps, request.OutDir, request.Edge, request.Png, outside, request.Shown});
}

// The exit status of the whole run; throws what fails on the way.
int Run(int argc, char** argv)
{
    // No application object: the tool needs none of its services, and making one takes a
    // good part of a millisecond.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    ParsedCommandLine line = ParseCommandLine(arguments, Tool);
    if (line.ExitStatus)
        return EndRun(line);
    std::variant<Request, int> read = ReadRequest(line);
    if (const int* status = std::get_if<int>(&read))
        return *status;
    Request& request = std::get<Request>(read);
    const bool entering = line.Values.contains(QStringLiteral("game"));
    if (entering)
        MakeAbsolute(request);
    EnterGivenGameFolder(line, Tool);
    if (line.ExitStatus)
        return EndRun(line);
    // A settings file would be written into whatever folder lies above.
    if (entering && !InGameEditorFolder())
        return Mistake(line.Values.value(QStringLiteral("game")) +
                       QStringLiteral(" is no game folder (no Korvane.INI or Sprites)"));
    const bool outside = !entering && !InGameEditorFolder();
    if (outside)
        UseAnyGame(request);
    return Render(request, outside);
}

}  // namespace

int main(int argc, char** argv)
{
    // Whatever fails, before the drawing too, ends in a message rather than an abort.
    try {
        return Run(argc, argv);
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
}
