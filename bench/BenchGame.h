#pragma once
// What the benchmarks share: a game folder with the default sheets, and the busy map.

#include "core/MapModel.h"
#include "settings/Settings.h"
#include "tools/sprites/SpriteArt.h"
#include "tools/sprites/SpriteSheets.h"

#include <QDir>
#include <QTemporaryDir>
#include <random>
#include <stdexcept>

inline constexpr int MechsOnFullSheet = 36;

// A game folder with the default sheets in Sprites and, in Sprites36, the same sheets but
// for a mechs sheet of 36 sprites; the editor's directory is the current one.
class BenchGame {
public:
    BenchGame()
    {
        const QDir root(dir_.path());
        if (!dir_.isValid() || !root.mkpath("Gridcrafter"))
            throw std::runtime_error("cannot lay out a game folder");
        std::vector<SheetFile> sheets = DefaultSheets();
        Write(root.filePath("Sprites"), sheets);
        for (SheetFile& sheet : sheets)
            if (sheet.Name == "MECHS.BMP")
                sheet.Sheet = PairSheet(FullMechSheet());
        Write(root.filePath("Sprites36"), sheets);
        QDir::setCurrent(root.filePath("Gridcrafter"));
    }

private:
    static std::vector<SpriteCells> FullMechSheet()
    {
        const std::vector<SpriteCells> mechs = MechSprites();
        std::vector<SpriteCells> full;
        full.reserve(MechsOnFullSheet);
        for (int i = 0; i < MechsOnFullSheet; ++i)
            full.push_back(mechs[static_cast<std::size_t>(i) % mechs.size()]);
        return full;
    }
    static void Write(const QString& dir, const std::vector<SheetFile>& sheets)
    {
        if (!QDir().mkpath(dir) || !WriteSheets(dir, sheets).isEmpty())
            throw std::runtime_error("cannot write the sprite sheets");
    }

    QTemporaryDir dir_;
};

inline void UseDefaultSettings()
{
    EffectSpriteCount = 5;
    MechSpriteCount = 4;
    GroundSpriteCount = 16;
    SpriteDir = QStringLiteral("..\\Sprites\\");
}

// Random heights and ground, and every overlay and mines on every cell.
inline void MakeBusyMap()
{
    std::mt19937 random(20240613);
    std::uniform_int_distribution<int> height(0, 6);
    std::uniform_int_distribution<int> ground(0, 15);
    ClearMap();
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            MapCell& cell = Cell(x, y);
            cell.Height = height(random);
            cell.Ground = static_cast<std::uint8_t>(ground(random));
            cell.Mines = 10;
            cell.Overlays = {1, 1, 1, 1, 1};
        }
}
