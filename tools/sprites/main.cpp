// gridcrafter-sprites DIR: writes the default sprite sheets of a game installation into DIR.

#include "platform/CommandLine.h"
#include "tools/sprites/SpriteSheets.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

const CommandLineDescription Tool{
    QStringLiteral("gridcrafter-sprites"),
    QStringLiteral("usage: gridcrafter-sprites DIR\n"
                   "       gridcrafter-sprites --help | --version\n"
                   "Draws the default sprite sheets and writes them into DIR as 24-bit BMP files:\n"
                   "Height.BMP, EFFECTS.BMP, GROUND.BMP, MECHS.BMP, ROAD.BMP and RIVER.BMP\n"
                   "(7 heights, 5 effects, 16 ground tiles, 4 mechs, 2 road and 2 river pieces).\n"
                   "DIR is created when missing; write ./-DIR or -- -DIR for a name that begins\n"
                   "with a dash.\n"),
    1,
    1,
    {}};

}  // namespace

int main(int argc, char** argv)
{
    const QCoreApplication app(argc, argv);
    const ParsedCommandLine line = ParseCommandLine(QCoreApplication::arguments().mid(1), Tool);
    if (line.ExitStatus)
        return EndRun(line);
    const QString error = WriteSheets(line.Arguments[0], DefaultSheets());
    if (!error.isEmpty()) {
        std::fprintf(stderr, "gridcrafter-sprites: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
