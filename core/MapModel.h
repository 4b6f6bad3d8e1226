#pragma once
// The one map of the process and the editor state around it. The cell record is also the
// map file's record, byte for byte, padding included.

#include <QString>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>

static_assert(std::endian::native == std::endian::little, "map files are little-endian");

inline constexpr int MapSize = 32;

struct MapOverlays {
    std::uint8_t Fire;
    std::uint8_t Smoke;
    std::uint8_t Swamp;
    std::uint8_t Road;
    std::uint8_t River;
};

struct MapCell {
    std::uint8_t X;
    std::uint8_t Y;
    std::uint8_t Padding1[2];
    std::int32_t Height;
    std::uint8_t Ground;
    std::uint8_t Mines;
    MapOverlays Overlays;
    std::uint8_t Padding2;
    std::int32_t Reserved;
};

static_assert(sizeof(MapCell) == 20);
static_assert(offsetof(MapCell, Height) == 4);
static_assert(offsetof(MapCell, Ground) == 8);
static_assert(offsetof(MapCell, Mines) == 9);
static_assert(offsetof(MapCell, Overlays) == 10);
static_assert(offsetof(MapCell, Reserved) == 16);

// Column-major: MapGrid[x - 1][y - 1] is the cell of column x, row y.
using MapColumn = std::array<MapCell, MapSize>;
using MapGridType = std::array<MapColumn, MapSize>;
static_assert(sizeof(MapGridType) == 20480);

extern MapGridType MapGrid;
extern std::int32_t CursorX;
extern std::int32_t CursorY;
extern QString MapName;
extern bool MapModified;
extern std::int32_t MineValue;
// The last key typed or chosen that changes a cell, which a mouse stroke paints; '\0' before
// the first.
extern char LastMapKey;

// The cell of column x, row y, both 1 to 32; unchecked.
inline MapCell& Cell(int x, int y)
{
    return MapGrid[static_cast<std::size_t>(x - 1)][static_cast<std::size_t>(y - 1)];
}

// Gives the cell of column x, row y its own position, the height and ground, and no mines,
// overlays or Reserved; the padding stays as it is.
void ResetCell(int x, int y, std::int32_t height, std::uint8_t ground);

// Resets every cell to flat grass without overlays (padding untouched), names the map
// "NewMap", clears MapModified and updates the caption.
void ClearMap();

// Shows "Korvane Gridcrafter : " + MapName through the caption sink.
void UpdateCaption();

// The main window's caption; without a sink UpdateCaption only computes the text.
void SetCaptionSink(std::function<void(const QString&)> sink);
QString MapCaption();
