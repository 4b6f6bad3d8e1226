#include "core/MapModel.h"

#include <utility>

MapGridType MapGrid{};
std::int32_t CursorX = 0;
std::int32_t CursorY = 0;
QString MapName;
bool MapModified = false;
std::int32_t MineValue = 0;
char LastMapKey = '\0';

namespace {
std::function<void(const QString&)> CaptionSink;
}  // namespace

void ResetCell(int x, int y, std::int32_t height, std::uint8_t ground)
{
    MapCell& cell = Cell(x, y);
    cell.X = static_cast<std::uint8_t>(x);
    cell.Y = static_cast<std::uint8_t>(y);
    cell.Height = height;
    cell.Ground = ground;
    cell.Mines = 0;
    cell.Overlays = MapOverlays{};
    cell.Reserved = 0;
}

void ClearMap()
{
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            ResetCell(x, y, 0, 0);
    MapName = QStringLiteral("NewMap");
    MapModified = false;
    UpdateCaption();
}

QString MapCaption() { return QStringLiteral("Korvane Gridcrafter : ") + MapName; }

void UpdateCaption()
{
    if (CaptionSink)
        CaptionSink(MapCaption());
}

void SetCaptionSink(std::function<void(const QString&)> sink) { CaptionSink = std::move(sink); }
