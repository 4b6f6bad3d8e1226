#include "Editor.h"

#include "core/MapModel.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapRenderer.h"
#include "graphics/SpriteLibrary.h"
#include "platform/Errors.h"
#include "settings/Settings.h"

#include <QFile>
#include <vector>

namespace {

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Black = qRgb(0, 0, 0);

// Mask cell: black over the hexagon, white around it.
QImage HexMask()
{
    QImage cell(SpriteWidth, SpriteHeight, QImage::Format_RGB32);
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            cell.setPixel(a, b, InsideHex(a, b) ? Black : White);
    return cell;
}

void Paste(QImage& sheet, const QImage& cell, int left, int top)
{
    for (int b = 0; b < cell.height(); ++b)
        for (int a = 0; a < cell.width(); ++a)
            sheet.setPixel(left + a, top + b, cell.pixel(a, b));
}

QImage Solid(QRgb colour)
{
    QImage cell(SpriteWidth, SpriteHeight, QImage::Format_RGB32);
    cell.fill(colour);
    return cell;
}

QImage PairSheet(int sheet, int count)
{
    const int rows = (count + 3) / 4;
    QImage image(536, rows * 39 - 1, QImage::Format_RGB32);
    image.fill(White);
    for (int i = 0; i < count; ++i) {
        Paste(image, HexMask(), 134 * (i % 4), 39 * (i / 4));
        Paste(image, Solid(SpriteColour(sheet, i)), 134 * (i % 4) + 67, 39 * (i / 4));
    }
    return image;
}

QImage HeightSheet()
{
    QImage image(8 * 67 - 1, SpriteHeight, QImage::Format_RGB32);
    image.fill(White);
    Paste(image, HexMask(), 0, 0);
    for (int h = 0; h < 7; ++h)
        Paste(image, Solid(SpriteColour(0, h)), 67 * (h + 1), 0);
    return image;
}

// Every colour but white turned black.
QImage BlackAndWhite(const QImage& sheet)
{
    QImage result = sheet;
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x)
            if (result.pixel(x, y) != White)
                result.setPixel(x, y, Black);
    return result;
}

}  // namespace

// Eight colours a sheet at most, so that a 4-bit sheet's palette holds them with black and
// white; channels are 8 plus multiples of 33, which a 5-5-5 bitmap keeps exactly.
QRgb SpriteColour(int sheet, int sprite)
{
    const int k = sprite % 8;
    return qRgb(8 + 33 * ((k + sheet) % 7), 8 + 33 * (k % 4 + 1), 8 + 33 * (sheet % 6 + 1));
}

TestSheets MakeTestSheets(bool blackAndWhite)
{
    TestSheets sheets{HeightSheet(),   PairSheet(1, 5), PairSheet(2, 16),
                      PairSheet(3, 4), PairSheet(4, 2), PairSheet(5, 2)};
    if (blackAndWhite)
        for (QImage* sheet : {&sheets.Height, &sheets.Effects, &sheets.Ground, &sheets.Mechs,
                              &sheets.Road, &sheets.River})
            *sheet = BlackAndWhite(*sheet);
    return sheets;
}

void HostileInput::SetUp()
{
    MapGrid = MapGridType{};
    ClearMap();
    MapModified = false;
    FreeSpriteLibrary();
}

void HostileInput::TearDown() { FreeSpriteLibrary(); }

void HostileInput::WriteSheets(BmpLayout layout) const
{
    const TestSheets sheets = MakeTestSheets(layout == BmpLayout::Bits1);
    const std::vector<std::pair<QString, QImage>> files{
        {"Height.BMP", sheets.Height}, {"EFFECTS.BMP", sheets.Effects},
        {"GROUND.BMP", sheets.Ground}, {"MECHS.BMP", sheets.Mechs},
        {"ROAD.BMP", sheets.Road},     {"RIVER.BMP", sheets.River}};
    for (const auto& [name, image] : files)
        WriteFile(SheetPath(name), BmpFile(image, layout));
}

void HostileInput::WriteFile(const QString& path, const QByteArray& bytes) const
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray HostileInput::ReadFile(const QString& path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString HostileInput::SheetPath(const QString& name) const
{
    return game.SpritesDir() + "/" + name;
}

QString HostileInput::StartEditor() const
{
    try {
        LoadSettings();
        LoadSpriteLibrary();
        ClearMap();
        RedrawMap();
    } catch (const GcError& error) {
        return error.Text();
    }
    return {};
}
