#pragma once
// Small sprite sheets made in code, in the cell layouts the sprite library reads, so tests
// and benchmarks know every pixel they load.

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

struct SheetSprite {
    QImage Mask;  // white: transparent
    QImage Image;
};

// A 66 by 38 cell of one colour.
QImage SolidCell(QRgb colour);
// A 66 by 38 mask cell: black where shown holds, white elsewhere.
QImage MaskCell(const std::function<bool(int, int)>& shown);
// A cell whose every pixel tells where it stands: red 3a, green 6b, blue 77.
QImage CoordinateCell();
QRgb CoordinateColour(int a, int b);

// A sprite of one colour shown where shown holds.
SheetSprite SolidSprite(QRgb colour, const std::function<bool(int, int)>& shown);

// Pairs of cells, mask left of image, four pairs to a row, rows 39 pixels apart; the gaps
// and the unused cells of the last row are the colour gap (white: transparent).
QImage PairSheet(const std::vector<SheetSprite>& sprites, QRgb gap = qRgb(255, 255, 255));
// The heights sheet: the shared mask, then the height images, 67 pixels apart.
QImage HeightSheet(const QImage& mask, const std::vector<QImage>& images);

// Writes image as a Windows BMP; throws std::runtime_error when it cannot.
void WriteBmp(const QString& path, const QImage& image);

// The six sheets of a game folder.
struct SpriteSheets {
    QImage Height;
    QImage Effects;
    QImage Ground;
    QImage Mechs;
    QImage Road;
    QImage River;
    // Height.BMP, EFFECTS.BMP, GROUND.BMP, MECHS.BMP, ROAD.BMP, RIVER.BMP in directory.
    void WriteTo(const QString& directory) const;
};

// Sheets in the default counts (5 effects, 16 ground tiles, mechs as asked, 2 road and 2
// river pieces) with every sprite a solid colour of its own over the hexagon; shade varies
// the colours so that two such sets differ in every sprite.
SpriteSheets PlainSheets(int mechs = 4, int shade = 0);
