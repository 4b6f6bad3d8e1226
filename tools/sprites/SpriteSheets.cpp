#include "tools/sprites/SpriteSheets.h"

#include "graphics/BmpWriter.h"
#include "graphics/HexGeometry.h"
#include "platform/Errors.h"
#include "tools/sprites/SpriteArt.h"

#include <QDir>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int CellStep = 67;
constexpr int PairStep = 134;
constexpr int SheetRowStep = 39;
constexpr int PairsPerRow = 4;

QImage WhiteSheet(int width, int height)
{
    QImage sheet(width, height, QImage::Format_RGB888);
    sheet.fill(Qt::white);
    return sheet;
}

void PutCell(QImage& sheet, const QImage& cell, int left, int top)
{
    QPainter p(&sheet);
    p.drawImage(left, top, cell);
}

}  // namespace

QImage HeightSheet(const QImage& mask, const std::vector<QImage>& images)
{
    QImage sheet = WhiteSheet(CellStep * (1 + static_cast<int>(images.size())), SpriteHeight);
    PutCell(sheet, mask, 0, 0);
    for (std::size_t h = 0; h < images.size(); ++h)
        PutCell(sheet, images[h], CellStep * (1 + static_cast<int>(h)), 0);
    return sheet;
}

QImage PairSheet(const std::vector<SpriteCells>& sprites)
{
    const int count = static_cast<int>(sprites.size());
    const int rows = (count + PairsPerRow - 1) / PairsPerRow;
    QImage sheet = WhiteSheet(PairStep * std::min(count, PairsPerRow), SheetRowStep * rows - 1);
    for (int i = 0; i < count; ++i) {
        const int left = PairStep * (i % PairsPerRow);
        const int top = SheetRowStep * (i / PairsPerRow);
        PutCell(sheet, sprites[static_cast<std::size_t>(i)].Mask, left, top);
        PutCell(sheet, sprites[static_cast<std::size_t>(i)].Image, left + CellStep, top);
    }
    return sheet;
}

std::vector<SheetFile> DefaultSheets()
{
    return {{"Height.BMP", HeightSheet(HeightMask(), HeightImages())},
            {"EFFECTS.BMP", PairSheet(EffectSprites())},
            {"GROUND.BMP", PairSheet(GroundSprites())},
            {"MECHS.BMP", PairSheet(MechSprites())},
            {"ROAD.BMP", PairSheet(RoadSprites())},
            {"RIVER.BMP", PairSheet(RiverSprites())}};
}

QString WriteSheets(const QString& dir, const std::vector<SheetFile>& sheets)
{
    QDir().mkpath(dir);
    try {
        for (const SheetFile& sheet : sheets)
            WriteBmpFile(QDir(dir).filePath(sheet.Name), sheet.Sheet);
    } catch (const GcError& error) {
        return error.Text();
    }
    return {};
}
