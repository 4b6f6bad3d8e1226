#include "graphics/Showcase.h"

#include "core/MapCreation.h"
#include "core/MapModel.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "settings/Settings.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr int Facings = 6;
constexpr int RoadPieces = 2;
constexpr int RoadShowcaseRow = 6;
// A hex gets a mech when a draw from 0 to 9 falls below this.
constexpr int FillChanceInTen = 2;

// Columns whose hexes begin inside the map image; a mech count past them would draw nothing,
// so an absurd count from the settings costs no time.
int ColumnsOnImage()
{
    int columns = 0;
    while (HexToPixel(columns + 1, 1).px < MapImageWidth)
        ++columns;
    return columns;
}

const SpriteSet& Facing(const std::array<SpriteSet, 7>& sets, int d)
{
    return sets[static_cast<std::size_t>(d)];
}

}  // namespace

void ShowMechs()
{
    const int mechs = std::min(MechSpriteCount, ColumnsOnImage());
    for (int n = 0; n < mechs; ++n)
        for (int d = 1; d <= Facings; ++d)
            DrawSprite(Facing(MechSets, d), n, n + 1, d);
    RepaintMapView();
}

void ShowRoads()
{
    for (int n = 0; n < RoadPieces; ++n)
        for (int d = 1; d <= Facings; ++d)
            DrawSprite(Facing(RoadSets, d), n, n + 1, d + RoadShowcaseRow);
    RepaintMapView();
}

void FillMechs()
{
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            if (Random(10) >= FillChanceInTen)
                continue;
            // Index before facing: one draw each, in this order.
            const int n = Random(MechSpriteCount);
            const int f = Random(Facings);
            DrawSprite(Facing(MechSets, f + 1), n, x, y);
        }
    RepaintMapView();
}
