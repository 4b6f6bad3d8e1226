// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/SpriteLibrary.h"

#include "graphics/HexGeometry.h"
#include "graphics/MapView.h"
#include "graphics/SpriteStacks.h"
#include "graphics/ViewImage.h"
#include "settings/Settings.h"

#include <algorithm>
#include <limits>
#include <utility>

SpriteSet HeightSet;
SpriteSet EffectSet;
SpriteSet GroundSet;
std::array<SpriteSet, 7> MechSets;
std::array<SpriteSet, 7> RoadSets;
std::array<SpriteSet, 7> RiverSets;
QImage BaseTile;

namespace {

// Road and river sheets: the arm toward the edge, then the centre piece.
constexpr int JoinSprites = 2;

std::function<std::unique_ptr<SpriteProgress>()> ProgressFactory;
bool SetsCreated = false;
// A failed reload leaves the sets as it got them, and they go on drawing.
bool LoadFinishedOnce = false;

qint64 PositiveCount(std::int32_t count) { return std::max<qint64>(count, 0); }

QImage Sheet(const QString& name) { return ReadSheet(SpriteDir + name); }

void EmptyAll()
{
    for (SpriteSet* set : {&HeightSet, &EffectSet, &GroundSet})
        *set = SpriteSet();
    for (std::array<SpriteSet, 7>* sets : {&MechSets, &RoadSets, &RiverSets})
        sets->fill(SpriteSet());
}

// Each sheet is read before its sets are emptied, so a sheet that fails leaves its sets and
// those after it as they were.
void LoadSheets(SpriteProgress* progress, bool mechs = true)
{
    ForgetStackedSprites();
    CutHeightSheet(Sheet(QStringLiteral("Height.BMP")), HeightSet, BaseTile, progress);
    CutPlainSheet(Sheet(QStringLiteral("EFFECTS.BMP")), EffectSpriteCount, EffectSet, progress);
    CutPlainSheet(Sheet(QStringLiteral("GROUND.BMP")), GroundSpriteCount, GroundSet, progress);
    if (mechs)
        CutTurnedSheet(Sheet(QStringLiteral("MECHS.BMP")), MechSpriteCount, MechSets, false,
                       progress);
    CutTurnedSheet(Sheet(QStringLiteral("ROAD.BMP")), JoinSprites, RoadSets, true, progress);
    CutTurnedSheet(Sheet(QStringLiteral("RIVER.BMP")), JoinSprites, RiverSets, true, progress);
    LoadFinishedOnce = true;
}

// The sets made anew, empty, before a first load.
void CreateSets()
{
    BaseTile = WhiteCell();
    EmptyAll();
    SetsCreated = true;
    LoadFinishedOnce = false;
}

}  // namespace

void SetSpriteProgressFactory(std::function<std::unique_ptr<SpriteProgress>()> factory)
{
    ProgressFactory = std::move(factory);
}

int SpriteProgressMaximum()
{
    const qint64 maximum =
        HeightSheetImages + PositiveCount(EffectSpriteCount) + PositiveCount(GroundSpriteCount) +
        TurnedFacings * PositiveCount(MechSpriteCount) + qint64{2} * TurnedFacings * JoinSprites;
    return static_cast<int>(std::min<qint64>(maximum, std::numeric_limits<int>::max()));
}

void LoadSpriteLibrary()
{
    // Released when loading ends; on a failure too, since a borderless window that
    // stayed would cover the editor and could not be closed.
    const std::unique_ptr<SpriteProgress> window = ProgressFactory ? ProgressFactory() : nullptr;
    if (window)
        window->SetMaximum(SpriteProgressMaximum());
    CreateSets();
    LoadSheets(window.get());
}

void LoadMapSprites()
{
    CreateSets();
    LoadSheets(nullptr, false);
}

void LoadSpriteSheets() { LoadSheets(nullptr); }

void FreeSpriteLibrary()
{
    BaseTile = QImage();
    EmptyAll();
    ForgetStackedSprites();
    SetsCreated = false;
    LoadFinishedOnce = false;
}

bool SpriteLibraryReady() { return SetsCreated && LoadFinishedOnce; }

void DrawSprite(const SpriteSet& set, int n, int x, int y)
{
    DrawSpriteOn(MapImage(), set, n, x, y);
    if (ViewLayers() != AllLayers)
        DrawSpriteOn(ViewImage(), set, n, x, y);
}

void DrawSpriteOn(QImage& picture, const SpriteSet& set, int n, int x, int y)
{
    const PixelPoint at = HexToPixel(x, y);
    DrawSpriteAt(picture, set, n, QPoint(at.px, at.py));
    NoteViewChange(QRect(at.px, at.py, SpriteWidth, SpriteHeight));
}
