#include "tests/app/TestSheets.h"

#include "graphics/HexGeometry.h"

#include <QImage>
#include <QPainter>
#include <stdexcept>

namespace {

constexpr int EffectCount = 5;
constexpr int GroundCount = 16;
constexpr int MechCount = 4;
const QRect EffectSquare(27, 14, 12, 10);

// Cells of a plain sheet: pairs of mask and image, four pairs to a row.
QRect MaskCell(int i) { return QRect(134 * (i % 4), 39 * (i / 4), 66, 38); }
QRect ImageCell(int i) { return MaskCell(i).translated(67, 0); }

QImage BlankSheet(int count)
{
    QImage sheet(536, 39 * ((count + 3) / 4), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    return sheet;
}

void Save(const QImage& sheet, const QString& path)
{
    if (!sheet.save(path, "BMP"))
        throw std::runtime_error("cannot write a test sheet");
}

void WriteHeights(const QString& dir)
{
    QImage sheet(8 * 67, 38, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.fillRect(QRect(0, 0, 66, 38), Qt::black);
    for (int h = 0; h <= 6; ++h)
        painter.fillRect(QRect(67 * (h + 1), 0, 66, 38), QColor(60 + 20 * h, 60, 60));
    painter.end();
    Save(sheet, dir + "/Height.BMP");
}

void WriteGround(const QString& dir)
{
    QImage sheet = BlankSheet(GroundCount);
    QPainter painter(&sheet);
    for (int i = 0; i < GroundCount; ++i) {
        painter.fillRect(MaskCell(i), Qt::black);
        painter.fillRect(ImageCell(i), GroundColour(i));
    }
    painter.end();
    Save(sheet, dir + "/GROUND.BMP");
}

void WriteEffects(const QString& dir)
{
    QImage sheet = BlankSheet(EffectCount);
    QPainter painter(&sheet);
    for (int i = 0; i < EffectCount; ++i) {
        painter.fillRect(EffectSquare.translated(MaskCell(i).topLeft()), Qt::black);
        painter.fillRect(ImageCell(i), EffectColour(i));
    }
    painter.end();
    Save(sheet, dir + "/EFFECTS.BMP");
}

}  // namespace

QColor GroundColour(int code) { return QColor::fromHsv(code * 22, 200, 200); }

QColor EffectColour(int index) { return QColor::fromHsv(index * 70 + 10, 255, 128); }

QPoint EffectPixel(int x, int y)
{
    const PixelPoint at = HexToPixel(x, y);
    return QPoint(at.px, at.py) + EffectSquare.center();
}

QPoint GroundPixel(int x, int y)
{
    const PixelPoint at = HexToPixel(x, y);
    return QPoint(at.px + 20, at.py + 19);
}

void WriteTestSheets(const QString& spritesDir)
{
    WriteHeights(spritesDir);
    WriteGround(spritesDir);
    WriteEffects(spritesDir);
    Save(BlankSheet(MechCount), spritesDir + "/MECHS.BMP");
    Save(BlankSheet(2), spritesDir + "/ROAD.BMP");
    Save(BlankSheet(2), spritesDir + "/RIVER.BMP");
}
