// gridcrafter-render IN.KVX OUT.BMP: draws a map file the way the editor shows it.

#include "core/MapFile.h"
#include "core/MapModel.h"
#include "graphics/BmpWriter.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <system_error>
#include <thread>

namespace {

constexpr const char* Usage =
    "Usage: gridcrafter-render IN.KVX OUT.BMP\n"
    "\n"
    "Draws the map file IN.KVX as the editor shows it and writes the whole map image,\n"
    "1590 by 1301 pixels, as the Windows bitmap OUT.BMP.\n"
    "\n"
    "Start it in the editor's directory of a game folder: it reads ..\\Korvane.INI (writing\n"
    "one with the defaults when it is missing) and the sprite sheets it names, as the\n"
    "editor does. Warnings go to standard error. On any failure it names the file on\n"
    "standard error, exits with status 1 and leaves no output file.\n";

void Render(const QString& mapPath, const QString& bitmapPath)
{
    // Readying the 8 MB of the map image keeps the system busy for milliseconds: it is done on
    // another core while the sheets load; without a thread, when the image is first used.
    std::jthread image;
    try {
        image = std::jthread([] { MapImage(); });
    } catch (const std::system_error&) {
    }
    LoadSettings();
    LoadSpriteLibrary();
    ReadMapFile(mapPath);
    RedrawMap();
    WriteBmpFile(bitmapPath, MapImage());
}

}  // namespace

int main(int argc, char** argv)
{
    const QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (arguments.size() != 2) {
        std::fputs(Usage, stderr);
        return 1;
    }
    try {
        Render(arguments[0], arguments[1]);
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
