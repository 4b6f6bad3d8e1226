#include "tests/graphics/SyntheticSheets.h"

#include "graphics/HexGeometry.h"

#include <QDir>
#include <QPainter>
#include <stdexcept>

QImage SolidCell(QRgb colour)
{
    QImage cell(SpriteWidth, SpriteHeight, QImage::Format_RGB32);
    cell.fill(colour);
    return cell;
}

QImage MaskCell(const std::function<bool(int, int)>& shown)
{
    QImage cell = SolidCell(qRgb(255, 255, 255));
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            if (shown(a, b))
                cell.setPixel(a, b, qRgb(0, 0, 0));
    return cell;
}

QRgb CoordinateColour(int a, int b) { return qRgb(3 * a, 6 * b, 77); }

QImage CoordinateCell()
{
    QImage cell = SolidCell(0);
    for (int b = 0; b < SpriteHeight; ++b)
        for (int a = 0; a < SpriteWidth; ++a)
            cell.setPixel(a, b, CoordinateColour(a, b));
    return cell;
}

SheetSprite SolidSprite(QRgb colour, const std::function<bool(int, int)>& shown)
{
    return {MaskCell(shown), SolidCell(colour)};
}

QImage PairSheet(const std::vector<SheetSprite>& sprites, QRgb gap)
{
    const int rows = std::max(1, static_cast<int>((sprites.size() + 3) / 4));
    QImage sheet(536, 39 * rows - 1, QImage::Format_RGB32);
    sheet.fill(gap);
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const int left = 134 * static_cast<int>(i % 4);
        const int top = 39 * static_cast<int>(i / 4);
        painter.drawImage(left, top, sprites[i].Mask);
        painter.drawImage(left + 67, top, sprites[i].Image);
    }
    return sheet;
}

QImage HeightSheet(const QImage& mask, const std::vector<QImage>& images)
{
    QImage sheet(67 * (static_cast<int>(images.size()) + 1) - 1, SpriteHeight,
                 QImage::Format_RGB32);
    sheet.fill(qRgb(90, 90, 90));
    QPainter painter(&sheet);
    painter.drawImage(0, 0, mask);
    for (std::size_t h = 0; h < images.size(); ++h)
        painter.drawImage(67 * (static_cast<int>(h) + 1), 0, images[h]);
    return sheet;
}

void WriteBmp(const QString& path, const QImage& image)
{
    if (!image.save(path, "BMP"))
        throw std::runtime_error("cannot write " + path.toStdString());
}

void SpriteSheets::WriteTo(const QString& directory) const
{
    const QDir dir(directory);
    WriteBmp(dir.filePath("Height.BMP"), Height);
    WriteBmp(dir.filePath("EFFECTS.BMP"), Effects);
    WriteBmp(dir.filePath("GROUND.BMP"), Ground);
    WriteBmp(dir.filePath("MECHS.BMP"), Mechs);
    WriteBmp(dir.filePath("ROAD.BMP"), Road);
    WriteBmp(dir.filePath("RIVER.BMP"), River);
}

SpriteSheets PlainSheets(int mechs, int shade)
{
    const auto colour = [shade](int kind, int index) {
        return qRgb(20 * kind + shade, 10 * index + shade, 100 + shade);
    };
    const auto sprites = [&](int kind, int count) {
        std::vector<SheetSprite> list;
        list.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            list.push_back(SolidSprite(colour(kind, i), InsideHex));
        return list;
    };
    std::vector<QImage> heights;
    heights.reserve(7);
    for (int h = 0; h < 7; ++h)
        heights.push_back(SolidCell(colour(1, h)));
    return {HeightSheet(MaskCell(InsideHex), heights),
            PairSheet(sprites(2, 5)),
            PairSheet(sprites(3, 16)),
            PairSheet(sprites(4, mechs)),
            PairSheet(sprites(5, 2)),
            PairSheet(sprites(6, 2))};
}
