// Sprite sheets in every layout a BMP may take, and broken ones. A valid sheet loads in any
// bit depth with or without run-length compression; a broken one stops the start with
// "Bitmap image is not valid", a sheet that is no file with "Cannot open file <path>", and
// neither touches a file. A missing sheet, a sheet cut short in its pixel data and a PNG under
// a sheet's name are tested in tests/graphics.

#include "Editor.h"
#include "core/MapModel.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QtEndian>

namespace {

constexpr QRgb Transparent = 0;
const QString NotValid = QStringLiteral("Bitmap image is not valid");

QRgb Opaque(QRgb colour) { return colour | 0xff000000u; }

class HostileSheets : public HostileInput {
protected:
    void SetUp() override
    {
        HostileInput::SetUp();
        // The start warns of no settings file: the default one is there.
        game.WriteSettings("[General]\r\nVersion=v2\xDF\r\n");
    }

    // Each set's first and last sprite: its colour at the centre, nothing at a corner.
    static void ExpectSprites(bool blackAndWhite)
    {
        const auto expect = [&](const SpriteSet& set, int sheet, int n, const char* name) {
            ASSERT_GT(set.Count(), n) << name;
            const QImage& image = set.Images[static_cast<std::size_t>(n)];
            const QRgb colour = blackAndWhite ? qRgb(0, 0, 0) : SpriteColour(sheet, n);
            EXPECT_EQ(image.pixel(33, 19), Opaque(colour)) << name << " " << n;
            EXPECT_EQ(image.pixel(0, 0), Transparent) << name << " " << n;
            EXPECT_EQ(image.pixel(65, 37), Transparent) << name << " " << n;
        };
        expect(HeightSet, 0, 0, "heights");
        expect(HeightSet, 0, 6, "heights");
        expect(EffectSet, 1, 4, "effects");
        expect(GroundSet, 2, 0, "ground");
        expect(GroundSet, 2, 15, "ground");
        for (std::size_t d = 1; d <= 6; ++d) {
            expect(MechSets[d], 3, 3, "mechs");
            expect(RoadSets[d], 4, 1, "road");
            expect(RiverSets[d], 5, 1, "river");
        }
    }

    // bytes as the sheet name, the rest valid: the start fails with error, the sheets before
    // it are loaded, and no sheet file changes.
    void ExpectRefused(const QString& name, const QByteArray& bytes, const QString& error)
    {
        SCOPED_TRACE(name.toStdString() + ", " + std::to_string(bytes.size()) + " bytes");
        WriteSheets();
        WriteFile(SheetPath(name), bytes);
        ExpectStartFails(error);
        EXPECT_EQ(ReadFile(SheetPath(name)), bytes);
    }

    void ExpectStartFails(const QString& error)
    {
        const QByteArray heights = ReadFile(SheetPath("Height.BMP"));
        EXPECT_EQ(StartEditor(), error);
        EXPECT_FALSE(SpriteLibraryReady());
        EXPECT_TRUE(prompts.Warnings.isEmpty());
        EXPECT_EQ(ReadFile(SheetPath("Height.BMP")), heights);
        FreeSpriteLibrary();
    }

    QByteArray ValidSheet(BmpLayout layout) const
    {
        return BmpFile(MakeTestSheets().Effects, layout);
    }
};

TEST_F(HostileSheets, EveryBitDepthAndRunLengthCompressionLoads)
{
    const struct {
        BmpLayout layout;
        const char* name;
    } layouts[] = {
        {BmpLayout::Bits1, "1 bit"},    {BmpLayout::Bits4, "4 bits"},
        {BmpLayout::Bits8, "8 bits"},   {BmpLayout::Rle4, "RLE4"},
        {BmpLayout::Rle8, "RLE8"},      {BmpLayout::Bits16, "16 bits"},
        {BmpLayout::Bits24, "24 bits"}, {BmpLayout::Bits32, "32 bits"},
    };
    for (const auto& l : layouts) {
        SCOPED_TRACE(l.name);
        WriteSheets(l.layout);
        ASSERT_EQ(StartEditor(), "");
        EXPECT_TRUE(SpriteLibraryReady());
        ExpectSprites(l.layout == BmpLayout::Bits1);
        FreeSpriteLibrary();
    }
}

// Sheets of one white pixel hold nothing but transparent cells: the start goes through and
// the map stays black.
TEST_F(HostileSheets, OnePixelSheetsLoadAsTransparentSprites)
{
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::white);
    for (const char* name :
         {"Height.BMP", "EFFECTS.BMP", "GROUND.BMP", "MECHS.BMP", "ROAD.BMP", "RIVER.BMP"})
        WriteFile(SheetPath(name), BmpFile(pixel, BmpLayout::Bits24));
    Cell(5, 5).Overlays.Road = 1;
    Cell(5, 6).Overlays.Road = 1;
    ASSERT_EQ(StartEditor(), "");
    EXPECT_EQ(HeightSet.Count(), 7);
    for (const SpriteSet* set : {&HeightSet, &EffectSet, &GroundSet, &MechSets[4], &RoadSets[2]})
        for (const auto& runs : set->Runs)
            EXPECT_TRUE(runs.empty());
    QImage black(MapImage().size(), MapImage().format());
    black.fill(Qt::black);
    EXPECT_EQ(MapImage(), black);
}

TEST_F(HostileSheets, BrokenBitmapsAreNotValid)
{
    const QByteArray valid = ValidSheet(BmpLayout::Bits4);
    QByteArray offsetBeyondTheEnd = valid;
    qToLittleEndian<quint32>(0x7FFFFFF0u, offsetBeyondTheEnd.data() + 10);
    QByteArray negativeWidth = valid;
    qToLittleEndian<qint32>(-536, negativeWidth.data() + 18);
    QByteArray zeroHeight = valid;
    qToLittleEndian<qint32>(0, zeroHeight.data() + 22);
    QByteArray sevenBits = valid;
    qToLittleEndian<quint16>(7, sevenBits.data() + 28);
    QByteArray unknownCompression = valid;
    qToLittleEndian<quint32>(77, unknownCompression.data() + 30);
    // Ends at once with "end of bitmap": complete, but 900 million pixels to allocate.
    const QByteArray rle = ValidSheet(BmpLayout::Rle8);
    QByteArray hugeRle =
        rle.left(qFromLittleEndian<quint32>(rle.constData() + 10)) + QByteArray("\0\1", 2);
    qToLittleEndian<qint32>(30000, hugeRle.data() + 18);
    qToLittleEndian<qint32>(30000, hugeRle.data() + 22);
    qToLittleEndian<quint32>(2, hugeRle.data() + 34);

    const struct {
        const char* sheet;
        QByteArray bytes;
    } cases[] = {
        {"Height.BMP", {}},
        {"EFFECTS.BMP", "BM"},
        {"GROUND.BMP", valid.left(30)},
        {"MECHS.BMP", valid.left(14 + 40 + 20)},
        {"ROAD.BMP", ValidSheet(BmpLayout::Rle8).chopped(40)},
        {"RIVER.BMP", BmpHeaderOnly(30000, 30000)},
        {"EFFECTS.BMP", hugeRle},
        {"GROUND.BMP", offsetBeyondTheEnd},
        {"MECHS.BMP", negativeWidth},
        {"ROAD.BMP", zeroHeight},
        {"RIVER.BMP", sevenBits},
        {"Height.BMP", unknownCompression},
        {"EFFECTS.BMP", QByteArray(100000, '\xFF')},
    };
    for (const auto& c : cases)
        ExpectRefused(c.sheet, c.bytes, NotValid);
}

// A run-length sheet of a few bytes can unpack to more memory than any sheet needs: beyond
// 64 MB as 32-bit pixels it is refused before it is decoded. Exactly 64 MB still loads.
TEST_F(HostileSheets, SheetsThatWouldDecodeBeyondSixtyFourMegabytesAreNotValid)
{
    const QByteArray rle = ValidSheet(BmpLayout::Rle8);
    const auto declaring = [&rle](qint32 width, qint32 height) {
        QByteArray sheet =
            rle.left(qFromLittleEndian<quint32>(rle.constData() + 10)) + QByteArray("\0\1", 2);
        qToLittleEndian<qint32>(width, sheet.data() + 18);
        qToLittleEndian<qint32>(height, sheet.data() + 22);
        qToLittleEndian<quint32>(2, sheet.data() + 34);
        return sheet;
    };
    ExpectRefused("EFFECTS.BMP", declaring(4096, 4097), NotValid);
    ExpectRefused("MECHS.BMP", declaring(16385, 1024), NotValid);
    ExpectRefused("RIVER.BMP", declaring(2147483647, 2147483647), NotValid);

    WriteSheets();
    WriteFile(SheetPath("MECHS.BMP"), declaring(4096, 4096));
    EXPECT_EQ(StartEditor(), QString());
    EXPECT_TRUE(SpriteLibraryReady());
}

TEST_F(HostileSheets, ASheetThatIsNoFileCannotBeOpened)
{
    WriteSheets();
    ASSERT_TRUE(QFile::remove(SheetPath("MECHS.BMP")));
    ASSERT_TRUE(QDir(game.SpritesDir()).mkdir("MECHS.BMP"));
    ExpectStartFails("Cannot open file ..\\Sprites\\MECHS.BMP");

    ASSERT_TRUE(QDir(game.SpritesDir()).rmdir("MECHS.BMP"));
    WriteSheets();
    ASSERT_TRUE(QFile::remove(SheetPath("ROAD.BMP")));
    // Without a writer, opening a FIFO for reading would wait for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(SheetPath("ROAD.BMP")).constData(), 0600), 0);
    ExpectStartFails("Cannot open file ..\\Sprites\\ROAD.BMP");
}

}  // namespace
