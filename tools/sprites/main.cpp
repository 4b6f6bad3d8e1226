// gridcrafter-sprites DIR: writes the default sprite sheets of a game installation into DIR.

#include "tools/sprites/SpriteSheets.h"

#include <QString>
#include <cstdio>
#include <cstring>

namespace {

const char* const Usage =
    "usage: gridcrafter-sprites DIR\n"
    "Draws the default sprite sheets and writes them into DIR as 24-bit BMP files:\n"
    "Height.BMP, EFFECTS.BMP, GROUND.BMP, MECHS.BMP, ROAD.BMP and RIVER.BMP\n"
    "(7 heights, 5 effects, 16 ground tiles, 4 mechs, 2 road and 2 river pieces).\n"
    "DIR is created when missing.\n";

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc != 2) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const QString error = WriteSheets(QString::fromLocal8Bit(argv[1]), DefaultSheets());
    if (!error.isEmpty()) {
        std::fprintf(stderr, "gridcrafter-sprites: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
