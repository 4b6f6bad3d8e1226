#pragma once
// The six default sheets in their cell layouts, and writing them as 24-bit BMP files.

#include <QImage>
#include <QString>
#include <vector>

#include "tools/sprites/ArtKit.h"

struct SheetFile {
    QString Name;
    QImage Sheet;
};

// Heights: the shared mask, then the images, 67 pixels apart in one row.
QImage HeightSheet(const QImage& mask, const std::vector<QImage>& images);
// Mask and image cells in pairs, four pairs to a row; exactly as big as the sprites need.
QImage PairSheet(const std::vector<SpriteCells>& sprites);

// Height.BMP, EFFECTS.BMP, GROUND.BMP, MECHS.BMP, ROAD.BMP, RIVER.BMP.
std::vector<SheetFile> DefaultSheets();

// Writes every sheet into dir; on the first failure returns a message naming the file,
// otherwise an empty text.
QString WriteSheets(const QString& dir, const std::vector<SheetFile>& sheets);
