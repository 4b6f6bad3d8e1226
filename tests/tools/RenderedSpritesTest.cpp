// The default sheets as the editor shows them: loaded by the sprite library, drawn by the map
// renderer. Set GC_SPRITES_PREVIEW to a file name to keep a picture of the busy map.

#include "core/MapModel.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "settings/Settings.h"
#include "tests/support/GameFolder.h"
#include "tools/sprites/SpriteArt.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <array>
#include <set>

namespace {

QPoint Centre(int x, int y)
{
    const PixelPoint corner = HexToPixel(x, y);
    return {corner.px + 33, corner.py + 19};
}

class RenderedSprites : public testing::Test {
protected:
    void SetUp() override
    {
        EffectSpriteCount = 5;
        MechSpriteCount = 4;
        GroundSpriteCount = 16;
        SpriteDir = QStringLiteral("..\\Sprites\\");
        ASSERT_EQ(QProcess::execute(QStringLiteral(GC_SPRITES_TOOL), {game.SpritesDir()}), 0);
        LoadSpriteLibrary();
        ASSERT_TRUE(SpriteLibraryReady());
        ClearMap();
    }
    void TearDown() override { FreeSpriteLibrary(); }

    static QImage Rendered()
    {
        RedrawMap();
        return MapImage().copy();
    }

    GameFolder game;
};

// Where the arm of a facing starts once turned and moved toward its edge.
QPoint ArmStart(int d)
{
    const QPoint shift[7] = {{}, {0, 0}, {8, -1}, {8, 1}, {0, 0}, {-8, 0}, {-8, 0}};
    return shift[d];
}

// Along the axis that the two arms of a join share, every pixel that lies in a hexagon is
// covered by the pieces, and so are both centres. One pixel may stay open: turned toward the
// south-west, the arm would need a source row above the cell to reach its edge.
TEST_F(RenderedSprites, RoadsAndRiversJoinWithoutGapsInEveryDirection)
{
    const QImage plain = Rendered();
    for (auto flag : {&MapOverlays::Road, &MapOverlays::River}) {
        for (int x : {10, 11}) {
            for (int d = 1; d <= 6; ++d) {
                ClearMap();
                const HexStep next = HexNeighbour(x, 10, d);
                Cell(x, 10).Overlays.*flag = 1;
                Cell(next.nx, next.ny).Overlays.*flag = 1;
                const QImage joined = Rendered();
                const auto open = [&](QPoint at) {
                    return qGray(plain.pixel(at)) != 0 && joined.pixel(at) == plain.pixel(at);
                };
                const QPoint from = Centre(x, 10) + ArmStart(d);
                const QPoint to = Centre(next.nx, next.ny) + ArmStart(TurnDirection(d, 3));
                std::set<std::pair<int, int>> gaps;
                for (int step = 0; step <= 100; ++step) {
                    const QPoint at = from + (to - from) * step / 100;
                    if (open(at))
                        gaps.insert({at.x(), at.y()});
                }
                const char* kind = flag == &MapOverlays::Road ? "road" : "river";
                EXPECT_LE(gaps.size(), 1U)
                    << kind << " from column " << x << " toward direction " << d;
                EXPECT_FALSE(open(Centre(x, 10)) || open(Centre(next.nx, next.ny))) << kind;
            }
        }
    }
}

// However busy a hex is, its height label stays readable.
TEST_F(RenderedSprites, BusyMapLeavesEveryHeightLabelVisible)
{
    for (int x = 1; x <= MapSize; ++x) {
        for (int y = 1; y <= MapSize; ++y) {
            MapCell& cell = Cell(x, y);
            cell.Height = (x * 3 + y) % 7;
            cell.Ground = static_cast<std::uint8_t>((x + 5 * y) % 16);
            cell.Mines = (x * y) % 5 == 0 ? 1 : 0;
            cell.Overlays.Fire = (x + y) % 7 == 0;
            cell.Overlays.Smoke = (x + 2 * y) % 6 == 0;
            cell.Overlays.Swamp = (2 * x + y) % 5 == 0;
            cell.Overlays.Road = (y == 8 || x == 12 || x == y) ? 1 : 0;
            cell.Overlays.River = (y == 20 || x == 25 || x + y == 30) ? 1 : 0;
        }
    }
    const QImage busy = Rendered();
    if (const QByteArray preview = qgetenv("GC_SPRITES_PREVIEW"); !preview.isEmpty())
        busy.save(QString::fromLocal8Bit(preview));

    for (int x = 1; x <= MapSize; ++x) {
        for (int y = 1; y <= MapSize; ++y) {
            Cell(x, y).Ground = 255;  // no tile: the height image alone
            Cell(x, y).Mines = 0;
            Cell(x, y).Overlays = {};
        }
    }
    const QImage heights = Rendered();
    for (int x = 1; x <= MapSize; ++x) {
        for (int y = 1; y <= MapSize; ++y) {
            const PixelPoint corner = HexToPixel(x, y);
            int hidden = 0;
            for (int b = 0; b < SpriteHeight; ++b)
                for (int a = 0; a < SpriteWidth; ++a)
                    if (InHeightWindow(a, b))
                        hidden += busy.pixel(corner.px + a, corner.py + b) !=
                                  heights.pixel(corner.px + a, corner.py + b);
            EXPECT_EQ(hidden, 0) << "hex " << x << "," << y;
        }
    }
}

// Height at a glance: on every ground, the hexes of any two heights differ pixel for pixel in
// far more than the label's corner, and a contour ring per level crosses the west corner,
// where no road, river or overlay reaches.
TEST_F(RenderedSprites, EveryHeightShowsAtAGlanceOnEveryGround)
{
    // Ground g at height h in hex (2 + 2h, 2 + 2g) or, for the second eight, 16 columns on.
    const auto hexOf = [](int g, int h) {
        return QPoint(2 + 2 * h + 16 * (g / 8), 2 + 2 * (g % 8));
    };
    for (int g = 0; g < 16; ++g)
        for (int h = 0; h <= 6; ++h) {
            MapCell& cell = Cell(hexOf(g, h).x(), hexOf(g, h).y());
            cell.Ground = static_cast<std::uint8_t>(g);
            cell.Height = h;
        }
    const QImage map = Rendered();
    for (int g = 0; g < 16; ++g) {
        std::array<QImage, 7> hexes;
        for (int h = 0; h <= 6; ++h) {
            const PixelPoint corner = HexToPixel(hexOf(g, h).x(), hexOf(g, h).y());
            hexes[static_cast<std::size_t>(h)] =
                map.copy(corner.px, corner.py, SpriteWidth, SpriteHeight);
        }
        for (std::size_t h1 = 0; h1 < hexes.size(); ++h1)
            for (std::size_t h2 = h1 + 1; h2 < hexes.size(); ++h2) {
                int differ = 0;
                for (int b = 0; b < SpriteHeight; ++b)
                    for (int a = 0; a < SpriteWidth; ++a)
                        differ += InsideHex(a, b) && hexes[h1].pixel(a, b) != hexes[h2].pixel(a, b);
                EXPECT_GE(differ, 100) << "ground " << g << ", heights " << h1 << " and " << h2;
            }
        // Along the west corner's middle row the rings stand at every other pixel from the
        // corner inward, each against the tint beside it.
        for (int h = 0; h <= 6; ++h) {
            const QImage& hex = hexes[static_cast<std::size_t>(h)];
            int rings = 0;
            for (int k = 1; k <= 6; ++k) {
                const int tint = k < 6 ? 2 * k : 10;
                rings +=
                    std::abs(qGray(hex.pixel(2 * k - 1, 19)) - qGray(hex.pixel(tint, 19))) > 40;
            }
            EXPECT_EQ(rings, h) << "ground " << g;
        }
    }
}

}  // namespace
