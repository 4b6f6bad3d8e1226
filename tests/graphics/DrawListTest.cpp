// The fast whole-map redraw against the plain order of draws: on random and adversarial maps,
// with sprites of irregular masks and a colour of their own in every pixel, RedrawMap and each
// of its steps must give exactly the picture of drawing every listed draw in turn.

#include "core/Catalogue.h"
#include "core/MapModel.h"
#include "graphics/BmpWriter.h"
#include "graphics/DrawList.h"
#include "graphics/HexGeometry.h"
#include "graphics/ImageFile.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "graphics/SpriteStacks.h"
#include "graphics/ViewImage.h"
#include "tests/graphics/SyntheticSheets.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <limits>
#include <optional>
#include <random>
#include <set>
#include <tuple>

namespace {

// Pixels hashed from where they are and which sprite they belong to.
std::uint32_t Hash(std::uint32_t sprite, int a, int b)
{
    std::uint32_t h = sprite * 0x9E3779B1U ^ static_cast<std::uint32_t>(a) * 0x85EBCA77U ^
                      static_cast<std::uint32_t>(b) * 0xC2B2AE3DU;
    h ^= h >> 15;
    h *= 0x2C1B3C6DU;
    return h ^ (h >> 13);
}

// A colour of its own in every pixel.
QImage NoiseCell(std::uint32_t sprite)
{
    QImage cell(SpriteWidth, SpriteHeight, QImage::Format_RGB32);
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            cell.setPixel(a, b,
                          qRgb(static_cast<int>(Hash(sprite, a, b) & 0xff),
                               static_cast<int>(Hash(sprite, a, b) >> 8 & 0xff), 77));
    return cell;
}

// About two pixels in three shown, scattered, with rows and columns left out whole, so runs
// start and end anywhere. Within the hexagon only, or anywhere in the cell, across pixel
// column 65 and over the neighbouring hexes.
QImage IrregularMask(std::uint32_t sprite, bool withinHexagon)
{
    return MaskCell([=](int a, int b) {
        const bool shown = Hash(sprite + 1000, a, b) % 3 != 0 &&
                           (a + b * 7 + static_cast<int>(sprite)) % 11 != 0 &&
                           (b + static_cast<int>(sprite)) % 9 != 0;
        return shown && (!withinHexagon || InsideHex(a, b));
    });
}

// Every set the renderer draws from, filled in memory: effects with a cursor, sixteen ground
// tiles, road and river pieces in six facings. Each sprite differs from all others.
void FillIrregularSets(bool withinHexagon)
{
    FreeSpriteLibrary();
    std::uint32_t sprite = 1;
    const auto add = [&](SpriteSet& set, int count) {
        for (int n = 0; n < count; ++n, ++sprite)
            AddSprite(set, NoiseCell(sprite), IrregularMask(sprite, withinHexagon));
    };
    add(HeightSet, 7);
    add(EffectSet, 5);
    add(GroundSet, 16);
    for (std::size_t d = 1; d <= 6; ++d) {
        add(RoadSets[d], 2);
        add(RiverSets[d], 2);
    }
}

// The plain replay: black, then every draw in the order listed, one at a time.
QImage PlainReplay(const std::vector<SpriteDraw>& draws)
{
    QImage image(MapImageWidth, MapImageHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (const SpriteDraw& draw : draws) {
        const PixelPoint at = HexToPixel(draw.X, draw.Y);
        DrawSpriteAt(image, *draw.Set, draw.Image, QPoint(at.px, at.py));
    }
    return image;
}

// What RedrawMap did before the list: black, then DrawCell hex by hex.
QImage CellByCell()
{
    MapImage().fill(Qt::black);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            DrawCell(x, y, false);
    return MapImage().copy();
}

QImage Redrawn()
{
    RedrawMap();
    return MapImage().copy();
}

QImage Painted(const std::vector<SpriteDraw>& draws, int strips)
{
    QImage image(MapImageWidth, MapImageHeight, QImage::Format_RGB32);
    image.fill(Qt::red);
    PaintDraws(image, draws, strips);
    return image;
}

// Heights, grounds, mines and flag bytes the renderer takes, the odd ones included: heights
// without an image and below zero, ground codes without a tile, flags other than 1.
void RandomMap(std::uint32_t seed, int overlayChance)
{
    std::mt19937 random(seed);
    const std::int32_t heights[] = {0,
                                    1,
                                    2,
                                    3,
                                    4,
                                    5,
                                    6,
                                    -1,
                                    7,
                                    100,
                                    std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max()};
    const auto byte = [&] { return static_cast<std::uint8_t>(random() & 0xff); };
    const auto flag = [&] {
        return static_cast<std::uint8_t>(
            static_cast<int>(random() % 100) < overlayChance ? 1 + random() % 255 : 0);
    };
    ClearMap();
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            MapCell& cell = Cell(x, y);
            cell.Height = random() % 4 == 0 ? heights[random() % std::size(heights)]
                                            : static_cast<std::int32_t>(random() % 7);
            cell.Ground = random() % 4 == 0 ? byte() : static_cast<std::uint8_t>(random() % 16);
            cell.Mines = flag();
            cell.Overlays = {flag(), flag(), flag(), flag(), flag()};
        }
}

// Every overlay on every hex: joins in all six directions, at every edge and corner.
void BusyMap()
{
    RandomMap(7, 0);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            Cell(x, y).Mines = 10;
            Cell(x, y).Overlays = {1, 1, 1, 1, 1};
        }
}

// Roads and rivers along the edges and in the corners only, over one tile everywhere: the
// same sprites again and again, joins that end at the map's edge.
void EdgeMap()
{
    ClearMap();
    for (int i = 1; i <= MapSize; ++i)
        for (const auto& [x, y] :
             {std::pair{i, 1}, std::pair{i, MapSize}, std::pair{1, i}, std::pair{MapSize, i}}) {
            Cell(x, y).Overlays.Road = 1;
            Cell(x, y).Overlays.River = static_cast<std::uint8_t>(i % 3 == 0 ? 0 : 2);
        }
    Cell(16, 16).Overlays.Road = 1;
}

// Roads on every other hex of every other column: centres only, no joins.
void ScatteredRoads()
{
    ClearMap();
    for (int x = 1; x <= MapSize; x += 2)
        for (int y = 1; y <= MapSize; y += 2)
            Cell(x, y).Overlays.Road = 1;
}

struct Case {
    const char* name;
    void (*make)();
};

const Case Maps[] = {
    {"random, few overlays", [] { RandomMap(1, 15); }},
    {"random, many overlays", [] { RandomMap(2, 70); }},
    {"busy", BusyMap},
    {"edges and corners", EdgeMap},
    {"scattered roads", ScatteredRoads},
    {"clean", ClearMap},
};

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class RedrawAgainstPlainOrder : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { FillIrregularSets(GetParam()); }
    void TearDown() override
    {
        FreeSpriteLibrary();
        ClearMap();
    }

    QTemporaryDir dir;
    const QString bitmapPath = dir.filePath("map.bmp");
};

TEST_P(RedrawAgainstPlainOrder, EveryMapGivesThePictureOfEveryDrawInTurn)
{
    for (const Case& map : Maps) {
        SCOPED_TRACE(map.name);
        map.make();
        const std::vector<SpriteDraw> draws = MapDraws();
        const QImage plain = PlainReplay(draws);
        ASSERT_EQ(CellByCell(), plain);
        ASSERT_EQ(Redrawn(), plain);
        const std::vector<SpriteDraw> visible = WithoutHiddenRepeats(draws);
        const std::vector<SpriteDraw> stacked = RedrawList();
        // Gathered hex by hex, the list is the one made from the whole list of draws.
        ASSERT_EQ(stacked, StackedByHex(visible));
        // The bitmap painted band by band holds the picture, and the map image is left alone.
        MapImage().fill(Qt::red);
        WriteRedrawnMapFile(bitmapPath);
        ASSERT_EQ(FileBytes(bitmapPath), BmpBytes(plain));
        ASSERT_EQ(MapImage().pixel(800, 600), qRgb(255, 0, 0));
        for (int strips = 1; strips <= 8; ++strips) {
            SCOPED_TRACE(strips);
            ASSERT_EQ(Painted(visible, strips), plain);
            ASSERT_EQ(Painted(stacked, strips), plain);
        }
    }
}

TEST_P(RedrawAgainstPlainOrder, RepeatedDrawsAreDroppedAndHexesStackedOnlyWhereHexagonsHoldThem)
{
    BusyMap();
    const std::vector<SpriteDraw> draws = MapDraws();
    const std::vector<SpriteDraw> visible = WithoutHiddenRepeats(draws);
    // Each hex away from the edges draws its road and river centres seven times and each
    // arm twice: more than half of the draws go, and no two left are the same.
    EXPECT_LT(visible.size() * 2, draws.size());
    std::set<std::tuple<const SpriteSet*, int, int, int>> seen;
    for (const SpriteDraw& draw : visible)
        ASSERT_TRUE(seen.insert({draw.Set, draw.Image, draw.X, draw.Y}).second);
    const std::vector<SpriteDraw> stacked = StackedByHex(visible);
    if (GetParam())
        EXPECT_EQ(stacked.size(), static_cast<std::size_t>(MapSize * MapSize));
    else
        EXPECT_EQ(stacked, visible);
}

INSTANTIATE_TEST_SUITE_P(Sprites, RedrawAgainstPlainOrder, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "WithinTheirHexagons" : "ReachingIntoNeighbours";
                         });

class DrawListTest : public ::testing::Test {
protected:
    void SetUp() override { FillIrregularSets(true); }
    void TearDown() override
    {
        FreeSpriteLibrary();
        ClearMap();
    }
};

TEST_F(DrawListTest, OnlyTheLastOfIdenticalDrawsStays)
{
    const SpriteDraw a{&GroundSet, 1, 3, 4};
    const SpriteDraw otherImage{&GroundSet, 2, 3, 4};
    const SpriteDraw otherSet{&HeightSet, 1, 3, 4};
    const SpriteDraw otherHex{&GroundSet, 1, 4, 3};
    const SpriteDraw offMap{&GroundSet, 1, 0, 33};
    EXPECT_EQ(WithoutHiddenRepeats({a, otherImage, a, otherSet, otherHex, a, otherHex}),
              (std::vector<SpriteDraw>{otherImage, otherSet, a, otherHex}));
    // Off the map nothing is dropped.
    EXPECT_EQ(WithoutHiddenRepeats({offMap, a, offMap}),
              (std::vector<SpriteDraw>{offMap, a, offMap}));
    EXPECT_TRUE(WithoutHiddenRepeats({}).empty());
}

TEST_F(DrawListTest, DrawsOffTheMapAreNotStacked)
{
    const std::vector<SpriteDraw> draws{
        {&GroundSet, 1, 3, 4}, {&EffectSet, 1, 3, 4}, {&GroundSet, 1, 33, 4}};
    EXPECT_EQ(StackedByHex(draws), draws);
}

std::optional<std::vector<SpriteDraw>> Gathered(const std::vector<SpriteDraw>& draws)
{
    // In pieces of three, the last piece first.
    HexDrawGatherer hexes;
    for (std::size_t end = draws.size(); end > 0; end -= std::min<std::size_t>(end, 3)) {
        const std::size_t begin = end - std::min<std::size_t>(end, 3);
        hexes.AddBefore(std::span(draws).subspan(begin, end - begin));
    }
    return hexes.Stacked();
}

TEST_F(DrawListTest, GatheringHexByHexGivesTheStackedListOrNothing)
{
    const SpriteDraw a{&GroundSet, 1, 3, 4};
    const std::vector<SpriteDraw> draws{
        a, {&GroundSet, 2, 3, 4},  a, {&HeightSet, 1, 3, 4}, {&GroundSet, 1, 4, 3},
        a, {&EffectSet, 9, 32, 32}};
    EXPECT_EQ(Gathered(draws), StackedByHex(WithoutHiddenRepeats(draws)));
    EXPECT_EQ(Gathered({}), std::vector<SpriteDraw>{});

    std::vector<SpriteDraw> offMap = draws;
    offMap.push_back({&GroundSet, 1, 0, 5});
    EXPECT_EQ(Gathered(offMap), std::nullopt);

    // Images a set lacks are sprites all the same: numbered, and counted on their hex.
    std::vector<SpriteDraw> oneHex;
    oneHex.reserve(HexDrawGatherer::MostSpritesOnHex);
    for (int n = 0; n < HexDrawGatherer::MostSpritesOnHex; ++n)
        oneHex.push_back({&GroundSet, n, 7, 7});
    EXPECT_EQ(Gathered(oneHex), StackedByHex(oneHex));
    oneHex.push_back({&GroundSet, 1000, 7, 7});
    EXPECT_EQ(Gathered(oneHex), std::nullopt);

    // 240 sprites, 60 to a hex, drawn again and again in a random order.
    std::mt19937 random(8);
    std::vector<SpriteDraw> repeated;
    for (int i = 0; i < 5000; ++i) {
        const int hex = static_cast<int>(random() % 4);
        repeated.push_back({&GroundSet, hex * 60 + static_cast<int>(random() % 60), 5 + hex, 9});
    }
    const std::optional<std::vector<SpriteDraw>> gathered = Gathered(repeated);
    EXPECT_EQ(gathered, StackedByHex(WithoutHiddenRepeats(repeated)));

    std::vector<SpriteDraw> manySprites;
    manySprites.reserve(300);
    for (int n = 0; n < 300; ++n)
        manySprites.push_back({&GroundSet, n, 1 + n % MapSize, 1 + n / MapSize});
    EXPECT_EQ(Gathered(manySprites), std::nullopt);
}

TEST_F(DrawListTest, GatheringGivesNothingForASpriteReachingOutOfItsHexagon)
{
    FillIrregularSets(false);
    EXPECT_EQ(Gathered({{&GroundSet, 1, 3, 4}}), std::nullopt);
}

TEST_F(DrawListTest, KeptStacksStayBelowTwoMapsWorthAndForgettingThemKeepsThePicture)
{
    for (std::uint32_t seed = 10; seed < 16; ++seed) {
        RandomMap(seed, 60);
        ASSERT_EQ(Redrawn(), PlainReplay(MapDraws())) << seed;
        EXPECT_LE(StackedSpriteCount(), static_cast<std::size_t>(2 * MapSize * MapSize));
    }
    EXPECT_GT(StackedSpriteCount(), 0U);
}

TEST_F(DrawListTest, ARedrawnPngHoldsThePlainPictureAndLeavesTheMapImageAlone)
{
    RandomMap(4, 50);
    const QTemporaryDir dir;
    const QString path = dir.filePath("map.PNG");
    MapImage().fill(Qt::red);
    WriteRedrawnMapFile(path);
    const QImage plain = PlainReplay(MapDraws());
    EXPECT_EQ(QImage(path, "PNG").convertToFormat(QImage::Format_RGB32), plain);
    EXPECT_EQ(MapImage().pixel(800, 600), qRgb(255, 0, 0));
}

TEST_F(DrawListTest, AnyStripCountAndAnyImageGiveThePlainPicture)
{
    RandomMap(3, 50);
    const std::vector<SpriteDraw> draws = RedrawList();
    const QImage plain = PlainReplay(MapDraws());
    for (const int strips : {-1, 0, 9, 1000})
        EXPECT_EQ(Painted(draws, strips), plain) << strips;

    // Narrower than eight strips of whole cache lines: most strips are empty.
    QImage narrow(40, 90, QImage::Format_RGB32);
    PaintDraws(narrow, draws, 8);
    EXPECT_EQ(narrow, plain.copy(0, 0, 40, 90));

    // Without 32 bits per pixel the picture is painted on one thread by Qt.
    QImage deep(MapImageWidth, MapImageHeight, QImage::Format_RGB888);
    PaintDraws(deep, draws, 4);
    EXPECT_EQ(deep.convertToFormat(QImage::Format_RGB32), plain);
}

// ---- Layers hidden from the view

// The layer a sprite belongs to; none for ground (and the cursor mark).
std::optional<MapLayer> LayerOf(const SpriteSet* set, int image)
{
    if (set == &HeightSet)
        return MapLayer::Heights;
    if (set == &EffectSet)
        switch (image) {
        case eiFire: return MapLayer::Fire;
        case eiSmoke: return MapLayer::Smoke;
        case eiSwamp: return MapLayer::Swamp;
        case eiMines: return MapLayer::Mines;
        default: return std::nullopt;
        }
    for (std::size_t d = 1; d <= 6; ++d) {
        if (set == &RoadSets[d])
            return MapLayer::Road;
        if (set == &RiverSets[d])
            return MapLayer::River;
    }
    return std::nullopt;
}

bool Drawn(const SpriteDraw& draw, LayerMask shown)
{
    const std::optional<MapLayer> layer = LayerOf(draw.Set, draw.Image);
    return !layer || Shows(shown, *layer);
}

// Each layer hidden alone, all of them, and mixes.
std::vector<LayerMask> HiddenMixes()
{
    std::vector<LayerMask> shown;
    shown.reserve(std::size(MapLayers) + 1);
    for (const MapLayer layer : MapLayers)
        shown.push_back(static_cast<LayerMask>(AllLayers & ~LayerBit(layer)));
    shown.push_back(0);
    std::mt19937 random(12);
    for (int i = 0; i < 3; ++i)
        shown.push_back(static_cast<LayerMask>(random() & AllLayers));
    return shown;
}

// Every sprite of the hidden layers made empty, as if the sheets held nothing there.
void BlankHiddenSprites(LayerMask shown)
{
    const auto blank = [shown](SpriteSet& set) {
        for (int n = 0; n < set.Count(); ++n)
            if (const std::optional<MapLayer> layer = LayerOf(&set, n);
                layer && !Shows(shown, *layer)) {
                QImage nothing(SpriteWidth, SpriteHeight, QImage::Format_ARGB32_Premultiplied);
                nothing.fill(Qt::transparent);
                set.Images[static_cast<std::size_t>(n)] = nothing;
                set.Runs[static_cast<std::size_t>(n)].clear();
            }
    };
    blank(HeightSet);
    blank(EffectSet);
    for (std::size_t d = 1; d <= 6; ++d) {
        blank(RoadSets[d]);
        blank(RiverSets[d]);
    }
    ForgetStackedSprites();
}

// Editing as the editor draws it: cells changed and drawn with their neighbours, and the
// cursor mark.
void EditAndDraw(std::uint32_t seed)
{
    std::mt19937 random(seed);
    for (int i = 0; i < 40; ++i) {
        const int x = 1 + static_cast<int>(random() % MapSize);
        const int y = 1 + static_cast<int>(random() % MapSize);
        MapCell& cell = Cell(x, y);
        cell.Overlays.Road ^= static_cast<std::uint8_t>(random() % 2);
        cell.Overlays.River ^= static_cast<std::uint8_t>(random() % 2);
        cell.Overlays.Fire ^= static_cast<std::uint8_t>(random() % 2);
        cell.Mines = static_cast<std::uint8_t>(random() % 2 * 10);
        cell.Height = static_cast<std::int32_t>(random() % 7);
        DrawCell(x, y, false);
        for (int d = 1; d <= 6; ++d)
            if (const HexStep next = HexNeighbour(x, y, d); next.ok)
                DrawCell(next.nx, next.ny, false);
        DrawCursor(x, y);
    }
}

class HiddenLayersAgainstPlainOrder : public RedrawAgainstPlainOrder {
protected:
    void TearDown() override
    {
        ShowLayers(AllLayers);
        RedrawAgainstPlainOrder::TearDown();
    }
};

TEST_P(HiddenLayersAgainstPlainOrder, TheViewLeavesOutTheirSpritesAndTheMapImageStaysWhole)
{
    for (const Case& map : Maps) {
        SCOPED_TRACE(map.name);
        map.make();
        RedrawMap();
        const QImage whole = MapImage().copy();
        for (const LayerMask shown : HiddenMixes()) {
            SCOPED_TRACE(static_cast<int>(shown));
            std::vector<SpriteDraw> kept;
            for (const SpriteDraw& draw : MapDraws())
                if (Drawn(draw, shown))
                    kept.push_back(draw);
            const QImage plain = PlainReplay(kept);
            ShowLayers(shown);
            ASSERT_EQ(ViewImage(), plain);
            ASSERT_EQ(MapImage(), whole);
            ASSERT_EQ(MapDraws(shown), kept);
            ASSERT_EQ(RedrawnMapImage(shown), plain);
            // The render tool's picture without them.
            WriteRedrawnMapFile(bitmapPath, shown);
            ASSERT_EQ(FileBytes(bitmapPath), BmpBytes(plain));
        }
        ShowLayers(AllLayers);
        EXPECT_EQ(&ViewImage(), &MapImage());
    }
}

// Editing while layers are hidden draws the view as the map image would be drawn if their
// sprites held nothing, and the map image as if none were hidden.
TEST_P(HiddenLayersAgainstPlainOrder, EditingDrawsTheViewAsIfTheirSpritesHeldNothing)
{
    for (const LayerMask shown : HiddenMixes()) {
        SCOPED_TRACE(static_cast<int>(shown));
        RandomMap(5, 40);
        const MapGridType start = MapGrid;
        RedrawMap();
        ShowLayers(shown);
        EditAndDraw(shown);
        const QImage view = ViewImage().copy();
        const QImage map = MapImage().copy();
        ShowLayers(AllLayers);

        MapGrid = start;
        RedrawMap();
        EditAndDraw(shown);
        ASSERT_EQ(MapImage(), map);

        BlankHiddenSprites(shown);
        MapGrid = start;
        RedrawMap();
        EditAndDraw(shown);
        ASSERT_EQ(MapImage(), view);
        FillIrregularSets(GetParam());
    }
}

TEST_P(HiddenLayersAgainstPlainOrder, EveryChangeOfTheViewsPictureIsNoted)
{
    RandomMap(6, 50);
    RedrawMap();
    for (const LayerMask shown : {AllLayers, LayerMask{0}}) {
        ShowLayers(shown);
        TakeViewChanges();
        DrawCell(7, 9, false);
        const PixelPoint at = HexToPixel(7, 9);
        EXPECT_TRUE(TakeViewChanges().contains(QRect(at.px, at.py, SpriteWidth, SpriteHeight)));
        EXPECT_TRUE(TakeViewChanges().isEmpty());
        RedrawMap();
        EXPECT_EQ(TakeViewChanges(), MapImage().rect());
        ShowLayers(shown ^ LayerBit(MapLayer::Fire));
        EXPECT_EQ(TakeViewChanges(), MapImage().rect());
    }
}

INSTANTIATE_TEST_SUITE_P(Sprites, HiddenLayersAgainstPlainOrder, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "WithinTheirHexagons" : "ReachingIntoNeighbours";
                         });

}  // namespace
