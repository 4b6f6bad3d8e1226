#include "graphics/MapRenderer.h"

#include "core/Catalogue.h"
#include "core/MapModel.h"
#include "graphics/DrawList.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "graphics/ViewImage.h"
#include "platform/BusyCursor.h"

namespace {

// Images of the road and river sets.
constexpr int JoinArm = 0;
constexpr int JoinCentre = 1;

// The layers below go either straight onto the map image (one hex while editing) or into
// the draw list of a whole map; Draw takes (set, image, x, y).
void DrawNow(const SpriteSet& set, int n, int x, int y) { DrawSpriteOn(MapImage(), set, n, x, y); }

// The view's own picture while layers are hidden.
void DrawOnView(const SpriteSet& set, int n, int x, int y)
{
    DrawSpriteOn(ViewImage(), set, n, x, y);
}

bool LayersHidden() { return ViewLayers() != AllLayers; }

// The centre piece of the hex and, toward every neighbour with the same kind of piece, the
// pair of arms with the neighbour's centre: both sides of a join survive redrawing one hex.
template <typename Draw>
void Joins(int x, int y, const std::array<SpriteSet, 7>& facings, bool (*hasPiece)(int, int),
           Draw&& draw)
{
    if (!hasPiece(x, y))
        return;
    draw(facings[1], JoinCentre, x, y);
    for (int d = 1; d <= 6; ++d) {
        const HexStep neighbour = HexNeighbour(x, y, d);
        if (!neighbour.ok || !hasPiece(neighbour.nx, neighbour.ny))
            continue;
        draw(facings[1], JoinCentre, neighbour.nx, neighbour.ny);
        draw(facings[static_cast<std::size_t>(d)], JoinArm, x, y);
        draw(facings[static_cast<std::size_t>(TurnDirection(d, 3))], JoinArm, neighbour.nx,
             neighbour.ny);
    }
}

// The layers of shown only; with all of them, as callers pass it, the tests fold away.
template <typename Draw>
void CellLayers(int x, int y, Draw&& draw, LayerMask shown = AllLayers)
{
    const MapCell& cell = Cell(x, y);
    const auto effect = [&](EffectIndex index) { draw(EffectSet, static_cast<int>(index), x, y); };
    const auto layer = [shown](MapLayer l) { return Shows(shown, l); };
    if (cell.Height >= 0 && layer(MapLayer::Heights))
        draw(HeightSet, cell.Height, x, y);
    draw(GroundSet, cell.Ground, x, y);
    if (HasSwamp(x, y) && layer(MapLayer::Swamp))
        effect(eiSwamp);
    if (HasRiver(x, y) && layer(MapLayer::River))
        Joins(x, y, RiverSets, HasRiver, draw);
    if (HasRoad(x, y) && layer(MapLayer::Road))
        Joins(x, y, RoadSets, HasRoad, draw);
    if (cell.Mines != 0 && layer(MapLayer::Mines))
        effect(eiMines);
    if (HasSmoke(x, y) && layer(MapLayer::Smoke))
        effect(eiSmoke);
    if (HasFire(x, y) && layer(MapLayer::Fire))
        effect(eiFire);
}

}  // namespace

void DrawRoadJoins(int x, int y) { Joins(x, y, RoadSets, HasRoad, DrawNow); }

void DrawRiverJoins(int x, int y) { Joins(x, y, RiverSets, HasRiver, DrawNow); }

void DrawCell(int x, int y, bool repaint)
{
    CellLayers(x, y, DrawNow);
    if (LayersHidden())
        CellLayers(x, y, DrawOnView, ViewLayers());
    if (repaint)
        RepaintMapView();
}

void DrawCursor(int x, int y)
{
    DrawSprite(EffectSet, static_cast<int>(eiCursor), x, y);
    RepaintMapView();
}

std::vector<SpriteDraw> MapDraws(LayerMask shown)
{
    // About the number a map with every overlay on every hex lists.
    constexpr std::size_t Typical = std::size_t{MapSize} * MapSize * 48;
    std::vector<SpriteDraw> draws;
    draws.reserve(Typical);
    const auto list = [&draws](const SpriteSet& set, int n, int x, int y) {
        draws.push_back({&set, n, x, y});
    };
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            CellLayers(x, y, list, shown);
    return draws;
}

std::vector<SpriteDraw> RedrawList(LayerMask shown)
{
    // Gathering hex by hex spares the list of every draw, three times the size. The draws
    // go to it from the last back: the cells in turn from the last, each cell's draws kept
    // for a moment.
    HexDrawGatherer hexes;
    // A cell lists a few dozen draws; the buffer grows should one list more.
    std::vector<SpriteDraw> cell(64);
    std::size_t count = 0;
    const auto keep = [&cell, &count](const SpriteSet& set, int n, int x, int y) {
        if (count == cell.size())
            cell.resize(2 * count);
        cell[count++] = {&set, n, x, y};
    };
    for (int x = MapSize; x >= 1; --x)
        for (int y = MapSize; y >= 1; --y) {
            count = 0;
            CellLayers(x, y, keep, shown);
            hexes.AddBefore({cell.data(), count});
        }
    if (std::optional<std::vector<SpriteDraw>> stacked = hexes.Stacked())
        return *std::move(stacked);
    return StackedByHex(WithoutHiddenRepeats(MapDraws(shown)));
}

std::vector<SpriteDraw> PictureDrawList(LayerMask shown)
{
    return WithoutHiddenRepeats(MapDraws(shown));
}

void RedrawMap()
{
    const BusyCursor busy;
    PaintDraws(MapImage(), RedrawList(), RedrawStrips());
    if (LayersHidden())
        PaintDraws(ViewImage(), RedrawList(ViewLayers()), RedrawStrips());
    NoteViewChange(MapImage().rect());
    // The view shows the new picture once, not once per hex.
    RepaintMapView();
}

void ShowLayers(LayerMask shown, std::optional<HexAddress> mark)
{
    SetViewLayers(shown);
    if (LayersHidden()) {
        PaintDraws(ViewImage(), RedrawList(shown), RedrawStrips());
        if (mark)
            DrawOnView(EffectSet, static_cast<int>(eiCursor), mark->x, mark->y);
    }
    RepaintMapView();
}

QImage RedrawnMapImage(LayerMask shown)
{
    QImage picture(MapImageWidth, MapImageHeight, QImage::Format_RGB32);
    PaintDraws(picture, RedrawList(shown), RedrawStrips());
    return picture;
}
