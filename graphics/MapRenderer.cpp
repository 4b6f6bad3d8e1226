#include "graphics/MapRenderer.h"

#include "core/Catalogue.h"
#include "core/MapModel.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "platform/BusyCursor.h"

namespace {

// Images of the road and river sets.
constexpr int JoinArm = 0;
constexpr int JoinCentre = 1;

void DrawEffect(EffectIndex effect, int x, int y)
{
    DrawSprite(EffectSet, static_cast<int>(effect), x, y);
}

// The centre piece of the hex and, toward every neighbour with the same kind of piece, the
// pair of arms with the neighbour's centre: both sides of a join survive redrawing one hex.
void DrawJoins(int x, int y, const std::array<SpriteSet, 7>& facings, bool (*hasPiece)(int, int))
{
    if (!hasPiece(x, y))
        return;
    DrawSprite(facings[1], JoinCentre, x, y);
    for (int d = 1; d <= 6; ++d) {
        const HexStep neighbour = HexNeighbour(x, y, d);
        if (!neighbour.ok || !hasPiece(neighbour.nx, neighbour.ny))
            continue;
        DrawSprite(facings[1], JoinCentre, neighbour.nx, neighbour.ny);
        DrawSprite(facings[static_cast<std::size_t>(d)], JoinArm, x, y);
        DrawSprite(facings[static_cast<std::size_t>(TurnDirection(d, 3))], JoinArm, neighbour.nx,
                   neighbour.ny);
    }
}

}  // namespace

void DrawRoadJoins(int x, int y) { DrawJoins(x, y, RoadSets, HasRoad); }

void DrawRiverJoins(int x, int y) { DrawJoins(x, y, RiverSets, HasRiver); }

void DrawCell(int x, int y, bool repaint)
{
    const MapCell& cell = Cell(x, y);
    if (cell.Height >= 0)
        DrawSpritePair(HeightSet, cell.Height, GroundSet, cell.Ground, x, y);
    else
        DrawSprite(GroundSet, cell.Ground, x, y);
    if (HasSwamp(x, y))
        DrawEffect(eiSwamp, x, y);
    if (HasRiver(x, y))
        DrawRiverJoins(x, y);
    if (HasRoad(x, y))
        DrawRoadJoins(x, y);
    if (cell.Mines != 0)
        DrawEffect(eiMines, x, y);
    if (HasSmoke(x, y))
        DrawEffect(eiSmoke, x, y);
    if (HasFire(x, y))
        DrawEffect(eiFire, x, y);
    if (repaint)
        RepaintMapView();
}

void DrawCursor(int x, int y)
{
    DrawEffect(eiCursor, x, y);
    RepaintMapView();
}

void RedrawMap()
{
    const BusyCursor busy;
    MapImage().fill(Qt::black);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            DrawCell(x, y, false);
    // The view shows the new picture once, not once per hex.
    RepaintMapView();
}
