#include "graphics/FacingTurns.h"
#include "graphics/HexGeometry.h"
#include "graphics/SpriteLibrary.h"
#include "platform/Errors.h"
#include "settings/Settings.h"
#include "tests/graphics/SyntheticSheets.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <limits>

namespace {

constexpr QRgb Transparent = 0;

QRgb Opaque(QRgb colour) { return colour | 0xff000000; }

class RecordingProgress : public SpriteProgress {
public:
    RecordingProgress(int& maximum, qint64& steps) : maximum_(maximum), steps_(steps) {}
    void SetMaximum(int maximum) override { maximum_ = maximum; }
    void Step(int steps) override { steps_ += steps; }

private:
    int& maximum_;
    qint64& steps_;
};

class SpriteLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EffectSpriteCount = 5;
        MechSpriteCount = 4;
        GroundSpriteCount = 16;
        SpriteDir = QStringLiteral("..\\Sprites\\");
    }
    void TearDown() override
    {
        SetSpriteProgressFactory(nullptr);
        FreeSpriteLibrary();
    }

    QString SheetFile(const char* name) const { return QDir(game.SpritesDir()).filePath(name); }

    // Mechs and roads whose sprite 0 shows where each pixel came from, over a mask that
    // shows every pixel.
    void LoadCoordinateSheets()
    {
        SpriteSheets sheets = PlainSheets();
        const SheetSprite coded{MaskCell([](int, int) { return true; }), CoordinateCell()};
        sheets.Mechs = PairSheet({coded});
        sheets.Road = PairSheet({coded, coded});
        MechSpriteCount = 1;
        Load(sheets);
    }

    void Load(const SpriteSheets& sheets)
    {
        sheets.WriteTo(game.SpritesDir());
        LoadSpriteLibrary();
    }

    // Expects the load to fail with text. A failure does not take away a load that finished
    // before: the sets go on drawing with what they hold.
    void ExpectReloadFails(const QString& text)
    {
        const bool ready = SpriteLibraryReady();
        try {
            LoadSpriteSheets();
            ADD_FAILURE() << "the load went through";
        } catch (const GcError& error) {
            EXPECT_EQ(error.Text(), text);
        }
        EXPECT_EQ(SpriteLibraryReady(), ready);
    }

    GameFolder game;
    ScriptedPrompts prompts;
};

TEST_F(SpriteLibraryTest, CutsPairCellsAtTheirSheetPositions)
{
    SpriteSheets sheets = PlainSheets();
    // Every sheet pixel different; white marks three pixels of the mask of ground sprite 5
    // (cell at (134, 39)) and four pixels just outside it, which must stay out of the cut.
    for (int y = 0; y < sheets.Ground.height(); ++y)
        for (int x = 0; x < sheets.Ground.width(); ++x)
            sheets.Ground.setPixel(x, y, qRgb(x % 250, y, 10 + x / 250));
    for (const QPoint p : {QPoint(134, 39), QPoint(199, 76), QPoint(144, 44), QPoint(133, 45),
                           QPoint(200, 45), QPoint(140, 38), QPoint(140, 77)})
        sheets.Ground.setPixel(p, qRgb(255, 255, 255));
    Load(sheets);

    ASSERT_EQ(GroundSet.Count(), 16);
    const QImage& sprite = GroundSet.Images[5];
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a) {
            const bool marked = (a == 0 && b == 0) || (a == 65 && b == 37) || (a == 10 && b == 5);
            ASSERT_EQ(sprite.pixel(a, b),
                      marked ? Transparent : Opaque(sheets.Ground.pixel(201 + a, 39 + b)))
                << a << "," << b;
        }
}

TEST_F(SpriteLibraryTest, HeightsShareOneMaskAndTheBaseTileIsTheWholeCell)
{
    SpriteSheets sheets = PlainSheets();
    // The hexagon mask stays; right of it every pixel is different.
    for (int y = 0; y < SpriteHeight; ++y)
        for (int x = 66; x < sheets.Height.width(); ++x)
            sheets.Height.setPixel(x, y, qRgb(x % 256, y, x / 256));
    Load(sheets);

    ASSERT_EQ(HeightSet.Count(), 7);
    for (int h = 0; h < 7; ++h)
        for (int b = 0; b < SpriteHeight; ++b)
            for (int a = 0; a < SpriteWidth; ++a)
                ASSERT_EQ(HeightSet.Images[static_cast<std::size_t>(h)].pixel(a, b),
                          InsideHex(a, b) ? Opaque(sheets.Height.pixel(67 * (h + 1) + a, b))
                                          : Transparent)
                    << h << ": " << a << "," << b;
    EXPECT_EQ(BaseTile.convertToFormat(QImage::Format_RGB32), sheets.Height.copy(67, 0, 66, 38));
}

TEST_F(SpriteLibraryTest, ACellOfAnotherSizeIsTakenAsFarAsItReaches)
{
    SpriteSet set;
    AddSprite(set, QImage(10, 5, QImage::Format_RGB32),
              SolidCell(qRgb(0, 0, 0)).copy(0, 0, 100, 3));
    ASSERT_EQ(set.Count(), 1);
    EXPECT_EQ(set.Images[0].size(), QSize(66, 38));
    EXPECT_EQ(qAlpha(set.Images[0].pixel(65, 2)), 255);
    EXPECT_EQ(set.Images[0].pixel(5, 3), Transparent);
    ASSERT_EQ(set.Runs[0].size(), 3u);
    EXPECT_EQ(set.Runs[0][2], (OpaqueRun{2, 0, 66}));
}

TEST_F(SpriteLibraryTest, WhiteIsTransparentAndEveryOtherColourOpaque)
{
    SpriteSheets sheets = PlainSheets();
    QImage mask = SolidCell(qRgb(255, 255, 254));
    mask.setPixel(1, 1, qRgb(255, 255, 255));
    mask.setPixel(2, 1, qRgb(254, 255, 255));
    sheets.Effects = PairSheet({{mask, SolidCell(qRgb(1, 2, 3))}});
    EffectSpriteCount = 1;
    Load(sheets);

    const QImage& sprite = EffectSet.Images[0];
    EXPECT_EQ(sprite.pixel(1, 1), Transparent);
    EXPECT_EQ(sprite.pixel(2, 1), Opaque(qRgb(1, 2, 3)));
    EXPECT_EQ(sprite.pixel(0, 0), Opaque(qRgb(1, 2, 3)));
}

TEST_F(SpriteLibraryTest, FacingsAreTheSheetCellTurnedAboutRowNineteen)
{
    LoadCoordinateSheets();
    ASSERT_EQ(MechSets[1].Count(), 1);
    for (std::size_t d = 1; d <= 6; ++d)
        ASSERT_EQ(MechSets[d].Count(), 1) << d;

    EXPECT_EQ(MechSets[1].Images[0].pixel(12, 34), Opaque(CoordinateColour(12, 34)));
    const QImage& facing2 = MechSets[2].Images[0];
    EXPECT_EQ(facing2.pixel(49, 10), Opaque(CoordinateColour(33, 1)));
    EXPECT_EQ(facing2.pixel(33, 19), Opaque(CoordinateColour(33, 19)));
    EXPECT_EQ(facing2.pixel(10, 20), Transparent);
    // Pixels where an angle held in double, or sums in single precision, pick a neighbour.
    EXPECT_EQ(facing2.pixel(33, 0), Opaque(CoordinateColour(17, 10)));
    EXPECT_EQ(facing2.pixel(33, 18), Opaque(CoordinateColour(32, 19)));

    const QImage& facing4 = MechSets[4].Images[0];
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a) {
            const int sa = 66 - a;
            const int sb = 38 - b;
            const bool fromCell = InsideHex(a, b) && sa <= 65 && sb <= 37;
            ASSERT_EQ(facing4.pixel(a, b),
                      fromCell ? Opaque(CoordinateColour(sa, sb)) : Transparent)
                << a << "," << b;
        }
}

TEST_F(SpriteLibraryTest, TurnedMasksAreTransparentOutsideTheHexagon)
{
    LoadCoordinateSheets();
    for (std::size_t d = 2; d <= 6; ++d)
        for (const SpriteSet* sets : {&MechSets[d], &RoadSets[d]})
            for (int b = 0; b < SpriteHeight; ++b)
                for (int a = 0; a < SpriteWidth; ++a) {
                    if (!InsideHex(a, b)) {
                        ASSERT_EQ(sets->Images[0].pixel(a, b), Transparent)
                            << d << ": " << a << "," << b;
                    }
                }
}

TEST_F(SpriteLibraryTest, TurnCellLeavesPixelsOutsideTheHexagonAlone)
{
    QImage destination = SolidCell(qRgb(5, 6, 7));
    TurnCell(CoordinateCell(), destination, 1.0f);
    EXPECT_EQ(destination.pixel(65, 20), qRgb(5, 6, 7));
    EXPECT_EQ(destination.pixel(0, 0), qRgb(5, 6, 7));
    EXPECT_NE(destination.pixel(33, 19), qRgb(5, 6, 7));
}

// The road pieces are the mechs' turns moved by the join nudge (mechs are never nudged).
TEST_F(SpriteLibraryTest, RoadArmsAreNudgedTowardTheirEdge)
{
    LoadCoordinateSheets();
    const auto expectShifted = [](std::size_t d, int right, int down) {
        const QImage& road = RoadSets[d].Images[0];
        const QImage& turned = MechSets[d].Images[0];
        for (int b = 0; b < SpriteHeight; ++b)
            for (int a = 0; a < SpriteWidth; ++a) {
                const int sa = a - right;
                const int sb = b - down;
                const bool moved = sa >= 0 && sa < SpriteWidth && sb >= 0 && sb < SpriteHeight;
                const QRgb expected = !InsideHex(a, b) ? Transparent
                                      : moved          ? turned.pixel(sa, sb)
                                                       : turned.pixel(a, b);
                ASSERT_EQ(road.pixel(a, b), expected) << d << ": " << a << "," << b;
            }
    };
    expectShifted(2, 8, -1);
    expectShifted(3, 8, 1);
    expectShifted(5, -8, 0);
    expectShifted(6, -8, 0);
    EXPECT_TRUE(RoadSets[4].Images[0] == MechSets[4].Images[0]);
    EXPECT_TRUE(RoadSets[1].Images[0] == MechSets[1].Images[0]);
}

TEST_F(SpriteLibraryTest, DefaultSettingsGiveSixtyEightStepsToAMaximumOfSixtyEight)
{
    QFile::remove(game.SettingsPath());
    LoadSettings();
    ASSERT_EQ(prompts.Warnings.size(), 1);
    int maximum = -1;
    qint64 steps = 0;
    SetSpriteProgressFactory([&] { return std::make_unique<RecordingProgress>(maximum, steps); });
    Load(PlainSheets());

    EXPECT_EQ(maximum, 68);
    EXPECT_EQ(steps, 68);
    EXPECT_TRUE(SpriteLibraryReady());
}

TEST_F(SpriteLibraryTest, TheProgressEndsAtItsMaximumWhenSheetsHoldFewerRowsThanTheirCounts)
{
    EffectSpriteCount = 9;  // the effects sheet's two rows hold 8 cells
    MechSpriteCount = 10;   // so do those of a sheet of 8 mechs
    GroundSpriteCount = -2;
    int maximum = -1;
    qint64 steps = 0;
    SetSpriteProgressFactory([&] { return std::make_unique<RecordingProgress>(maximum, steps); });
    Load(PlainSheets(8));
    EXPECT_EQ(maximum, 7 + 9 + 0 + 5 * 10 + 20);
    EXPECT_EQ(steps, maximum);
    EXPECT_EQ(EffectSet.Count(), 8);
    EXPECT_EQ(MechSets[2].Count(), 8);
}

TEST_F(SpriteLibraryTest, ProgressMaximumNeitherOverflowsNorCountsNegativeSheets)
{
    MechSpriteCount = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(SpriteProgressMaximum(), std::numeric_limits<int>::max());
    MechSpriteCount = -3;
    EffectSpriteCount = 0;
    GroundSpriteCount = -100;
    EXPECT_EQ(SpriteProgressMaximum(), 27);
}

TEST_F(SpriteLibraryTest, HugeCountsCutOnlyWhatTheSheetHolds)
{
    EffectSpriteCount = std::numeric_limits<std::int32_t>::max();
    GroundSpriteCount = std::numeric_limits<std::int32_t>::max();
    MechSpriteCount = std::numeric_limits<std::int32_t>::max();
    int maximum = -1;
    qint64 steps = 0;
    SetSpriteProgressFactory([&] { return std::make_unique<RecordingProgress>(maximum, steps); });
    SpriteSheets sheets = PlainSheets(6);
    // Two more pixel rows reach into a third row of cells, which is cut but shows nothing.
    QImage taller(536, sheets.Mechs.height() + 2, QImage::Format_RGB32);
    taller.fill(qRgb(255, 255, 255));
    QPainter(&taller).drawImage(0, 0, sheets.Mechs);
    sheets.Mechs = taller;
    Load(sheets);

    EXPECT_EQ(maximum, std::numeric_limits<int>::max());
    EXPECT_EQ(EffectSet.Count(), 8);
    EXPECT_EQ(GroundSet.Count(), 16);
    ASSERT_EQ(MechSets[3].Count(), 12);
    EXPECT_GE(steps, maximum) << "the cells below the sheets are counted too";
    EXPECT_EQ(MechSets[3].Runs[11].size(), 0u);
    EXPECT_EQ(MechSets[1].Runs[6].size(), 0u);
    EXPECT_EQ(MechSets[1].Images[5].pixel(33, 19), Opaque(qRgb(80, 50, 100)));
    EXPECT_TRUE(SpriteLibraryReady());
}

TEST_F(SpriteLibraryTest, ACountOfZeroOrLessLoadsNothingFromItsSheet)
{
    EffectSpriteCount = 0;
    MechSpriteCount = -1;
    Load(PlainSheets());
    EXPECT_EQ(EffectSet.Count(), 0);
    for (std::size_t d = 1; d <= 6; ++d)
        EXPECT_EQ(MechSets[d].Count(), 0);
    EXPECT_EQ(GroundSet.Count(), 16);
    EXPECT_TRUE(SpriteLibraryReady());
}

TEST_F(SpriteLibraryTest, ReloadingUnchangedSheetsGivesIdenticalSets)
{
    LoadCoordinateSheets();
    const std::vector<SpriteSet> before = {HeightSet,   EffectSet,   GroundSet,
                                           MechSets[3], RoadSets[2], RiverSets[6]};
    const QImage baseTile = BaseTile;
    LoadSpriteSheets();
    const std::vector<SpriteSet> after = {HeightSet,   EffectSet,   GroundSet,
                                          MechSets[3], RoadSets[2], RiverSets[6]};
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_TRUE(before[i].Images == after[i].Images) << i;
        EXPECT_TRUE(before[i].Runs == after[i].Runs) << i;
    }
    EXPECT_EQ(BaseTile, baseTile);
    EXPECT_TRUE(SpriteLibraryReady());
}

// The tools draw maps alone: the mech sheet is neither needed nor cut, the rest as a full load.
TEST_F(SpriteLibraryTest, MapSpritesAreTheFullLoadWithoutTheMechs)
{
    LoadCoordinateSheets();
    const std::vector<SpriteSet> full = {HeightSet, EffectSet, GroundSet, RoadSets[2],
                                         RiverSets[6]};
    ASSERT_TRUE(QFile::remove(SheetFile("MECHS.BMP")));
    LoadMapSprites();
    const std::vector<SpriteSet> map = {HeightSet, EffectSet, GroundSet, RoadSets[2], RiverSets[6]};
    for (std::size_t i = 0; i < full.size(); ++i) {
        EXPECT_TRUE(full[i].Images == map[i].Images) << i;
        EXPECT_TRUE(full[i].Runs == map[i].Runs) << i;
    }
    for (const SpriteSet& facing : MechSets)
        EXPECT_EQ(facing.Count(), 0);
    EXPECT_THROW(LoadSpriteLibrary(), SpriteSheetError);
}

TEST_F(SpriteLibraryTest, AFailingSheetKeepsEarlierSetsNewAndLaterSetsAsTheyWere)
{
    Load(PlainSheets(4, 0));
    ASSERT_TRUE(SpriteLibraryReady());
    const SpriteSet oldGround = GroundSet;
    const SpriteSet oldMechs = MechSets[2];
    const SpriteSet oldRiver = RiverSets[5];

    const SpriteSheets newSheets = PlainSheets(4, 3);
    newSheets.WriteTo(game.SpritesDir());
    const auto expectGroundFailedAt = [&] {
        EXPECT_EQ(EffectSet.Images[2].pixel(33, 19), Opaque(qRgb(43, 23, 103)));
        EXPECT_EQ(HeightSet.Images[0].pixel(33, 19), Opaque(qRgb(23, 3, 103)));
        EXPECT_TRUE(GroundSet.Images == oldGround.Images);
        EXPECT_TRUE(MechSets[2].Images == oldMechs.Images);
        EXPECT_TRUE(RiverSets[5].Images == oldRiver.Images);
    };

    ASSERT_TRUE(QFile::remove(SheetFile("GROUND.BMP")));
    ExpectReloadFails(QStringLiteral("Cannot open file ..\\Sprites\\GROUND.BMP"));
    expectGroundFailedAt();

    QFile garbage(SheetFile("GROUND.BMP"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM this is no bitmap at all");
    garbage.close();
    ExpectReloadFails(QStringLiteral("Bitmap image is not valid"));
    expectGroundFailedAt();

    // A good bitmap cut short: Qt would read it and fill the missing rows with black.
    WriteBmp(SheetFile("GROUND.BMP"), newSheets.Ground);
    ASSERT_TRUE(
        QFile::resize(SheetFile("GROUND.BMP"), QFileInfo(SheetFile("GROUND.BMP")).size() - 600));
    ExpectReloadFails(QStringLiteral("Bitmap image is not valid"));
    expectGroundFailedAt();

    // Another format under the sheet's name is not read as what it is.
    ASSERT_TRUE(newSheets.Ground.save(SheetFile("GROUND.BMP"), "PNG"));
    ExpectReloadFails(QStringLiteral("Bitmap image is not valid"));

    newSheets.WriteTo(game.SpritesDir());
    LoadSpriteSheets();
    EXPECT_TRUE(SpriteLibraryReady());
    EXPECT_EQ(GroundSet.Images[4].pixel(33, 19), Opaque(qRgb(63, 43, 103)));
}

TEST_F(SpriteLibraryTest, AFailedFirstLoadLeavesTheFailingAndLaterSetsEmpty)
{
    PlainSheets().WriteTo(game.SpritesDir());
    ASSERT_TRUE(QFile::remove(SheetFile("MECHS.BMP")));
    EXPECT_THROW(LoadSpriteLibrary(), GcError);
    EXPECT_FALSE(SpriteLibraryReady());
    EXPECT_EQ(GroundSet.Count(), 16);
    EXPECT_EQ(MechSets[1].Count(), 0);
    EXPECT_EQ(RoadSets[1].Count(), 0);
}

TEST_F(SpriteLibraryTest, SheetsAreReadHeightsEffectsGroundMechsRoadsRivers)
{
    const SpriteSheets sheets = PlainSheets();
    const std::vector<std::pair<const char*, const QImage*>> order = {
        {"Height.BMP", &sheets.Height}, {"EFFECTS.BMP", &sheets.Effects},
        {"GROUND.BMP", &sheets.Ground}, {"MECHS.BMP", &sheets.Mechs},
        {"ROAD.BMP", &sheets.Road},     {"RIVER.BMP", &sheets.River}};
    for (const auto& [name, sheet] : order) {
        ExpectReloadFails(QStringLiteral("Cannot open file ..\\Sprites\\") + QLatin1String(name));
        WriteBmp(SheetFile(name), *sheet);
    }
    LoadSpriteSheets();
    EXPECT_EQ(RiverSets[6].Count(), 2);
}

TEST_F(SpriteLibraryTest, SheetPathsAreTheSpriteDirectoryAndTheNameWithoutSeparator)
{
    PlainSheets().WriteTo(game.SpritesDir());
    SpriteDir = QStringLiteral("..\\Sprites");
    try {
        LoadSpriteLibrary();
        ADD_FAILURE() << "the load went through";
    } catch (const GcError& error) {
        EXPECT_EQ(error.Text(), QStringLiteral("Cannot open file ..\\SpritesHeight.BMP"));
    }
}

TEST_F(SpriteLibraryTest, FreeEmptiesEverything)
{
    Load(PlainSheets());
    ASSERT_TRUE(SpriteLibraryReady());
    FreeSpriteLibrary();
    EXPECT_FALSE(SpriteLibraryReady());
    EXPECT_TRUE(BaseTile.isNull());
    EXPECT_EQ(HeightSet.Count() + EffectSet.Count() + GroundSet.Count(), 0);
    for (std::size_t d = 1; d <= 6; ++d)
        EXPECT_EQ(MechSets[d].Count() + RoadSets[d].Count() + RiverSets[d].Count(), 0);
}

TEST_F(SpriteLibraryTest, DrawingCopiesOpaquePixelsAndClipsAtTheTargetEdges)
{
    Load(PlainSheets());
    const QRgb background = qRgb(1, 1, 1);
    const QRgb ground = Opaque(qRgb(60, 0, 100));
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888}) {
        QImage target(40, 30, format);
        target.fill(background);
        DrawSpriteAt(target, GroundSet, 0, QPoint(-30, -10));
        DrawSpriteAt(target, GroundSet, 16, QPoint(0, 0));
        DrawSpriteAt(target, GroundSet, -1, QPoint(0, 0));
        DrawSpriteAt(target, GroundSet, 0, QPoint(1000, -1000));
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x) {
                const int a = x + 30;
                const int b = y + 10;
                const bool covered = a < SpriteWidth && b < SpriteHeight && InsideHex(a, b);
                ASSERT_EQ(target.pixel(x, y), covered ? ground : background)
                    << format << ": " << x << "," << y;
            }
    }
}

}  // namespace
