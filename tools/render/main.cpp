// gridcrafter-render IN.KVX OUT.BMP: draws a map file the way the editor shows it.

#include "core/MapFile.h"
#include "core/MapModel.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "platform/FileIdentity.h"
#include "platform/SafeFile.h"
#include "settings/Settings.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <exception>

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

QByteArray MapImageAsBmp()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!MapImage().save(&buffer, "BMP"))
        throw GcError(QStringLiteral("Cannot encode the map image as a bitmap"));
    return bytes;
}

void Render(const QString& mapPath, const QString& bitmapPath)
{
    if (SameFile(bitmapPath, mapPath))
        throw GcError(bitmapPath + QStringLiteral(" is the map file itself; nothing was written"));
    LoadSettings();
    LoadSpriteLibrary();
    const QString notice = LongMapFileNotice(mapPath, ReadMapFile(mapPath));
    if (!notice.isEmpty())
        std::fprintf(stderr, "gridcrafter-render: %s\n", qPrintable(notice));
    RedrawMap();
    WriteFileSafely(bitmapPath, MapImageAsBmp());
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
