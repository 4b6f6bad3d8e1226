// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/SheetCutting.h"

#include "graphics/BmpReader.h"
#include "graphics/FacingTurns.h"
#include "graphics/HexGeometry.h"
#include "platform/WinPath.h"

#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace {

constexpr QRgb White = 0xffffffff;
constexpr QRgb ColourBits = 0x00ffffff;
constexpr QRgb OpaqueAlpha = 0xff000000;
constexpr int BytesPerPixel = 4;

// Pair sheets: a mask cell, a one-pixel gap, its image cell; four pairs to a row.
constexpr int PairStep = 134;
constexpr int ImageOffset = 67;
constexpr int RowPitch = 39;
constexpr int PairsPerRow = 4;
// The heights sheet: the shared mask, then the seven height images, in one row.
constexpr int HeightCellStep = 67;

qint64 PositiveCount(std::int32_t count) { return std::max<qint64>(count, 0); }

void StepProgress(SpriteProgress* progress, qint64 steps = 1)
{
    if (progress && steps > 0)
        progress->Step(static_cast<int>(std::min<qint64>(steps, std::numeric_limits<int>::max())));
}

QPoint MaskCellOrigin(int i)
{
    return {PairStep * (i % PairsPerRow), RowPitch * (i / PairsPerRow)};
}

// Cells of rows that begin below the sheet would be wholly transparent: they are left out
// and their indexes draw nothing, so a count far beyond the sheet costs nothing.
int CellsToCut(const QImage& sheet, std::int32_t count)
{
    const qint64 rowsReached = (static_cast<qint64>(sheet.height()) + RowPitch - 1) / RowPitch;
    return static_cast<int>(std::clamp<qint64>(count, 0, rowsReached * PairsPerRow));
}

void EmptyFacingSets(std::array<SpriteSet, 7>& sets)
{
    for (SpriteSet& set : sets)
        set = SpriteSet();
}

}  // namespace

QImage WhiteCell()
{
    QImage cell(SpriteWidth, SpriteHeight, QImage::Format_RGB32);
    cell.fill(White);
    return cell;
}

QImage CutCell(const QImage& sheet, int left, int top)
{
    QImage cell = WhiteCell();
    const QRect area = QRect(left, top, SpriteWidth, SpriteHeight) & sheet.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memcpy(PixelRow(cell, y - top) + (area.left() - left),
                    PixelRow(sheet, y) + area.left(),
                    static_cast<std::size_t>(area.width()) * BytesPerPixel);
    return cell;
}

void AddSprite(SpriteSet& set, const QImage& image, const QImage& mask)
{
    // A cell of another size is taken as far as it reaches; the rest is transparent.
    const QImage colours = CutCell(image.convertToFormat(QImage::Format_RGB32), 0, 0);
    const QImage maskColours = CutCell(mask.convertToFormat(QImage::Format_RGB32), 0, 0);
    QImage sprite(SpriteWidth, SpriteHeight, QImage::Format_ARGB32_Premultiplied);
    for (int b = 0; b < SpriteHeight; ++b) {
        const QRgb* source = PixelRow(colours, b);
        const QRgb* maskRow = PixelRow(maskColours, b);
        QRgb* out = PixelRow(sprite, b);
        for (int a = 0; a < SpriteWidth; ++a)
            out[a] = (maskRow[a] & ColourBits) != ColourBits ? (source[a] | OpaqueAlpha) : 0;
    }
    set.Runs.push_back(OpaqueRuns(sprite));
    set.Images.push_back(std::move(sprite));
}

QImage ReadSheet(const QString& path)
{
    const QString native = NativePath(path);
    const QFileInfo info(native);
    QFile file(native);
    // A FIFO or device would block or never end; only plain files are sheets.
    if ((info.exists() && !info.isFile()) || !file.open(QIODevice::ReadOnly))
        throw SpriteSheetError(QStringLiteral("Cannot open file ") + path, path);
    QImage sheet = DecodeBmp(file.readAll());
    if (sheet.isNull())
        throw SpriteSheetError(QStringLiteral("Bitmap image is not valid"), path);
    return sheet;
}

void CutHeightSheet(const QImage& sheet, SpriteSet& set, QImage& baseTile, SpriteProgress* progress)
{
    set = SpriteSet();
    const QImage mask = CutCell(sheet, 0, 0);
    for (int h = 0; h < HeightSheetImages; ++h) {
        const QImage image = CutCell(sheet, HeightCellStep * (h + 1), 0);
        AddSprite(set, image, mask);
        if (h == 0)
            baseTile = image;
        StepProgress(progress);
    }
}

void CutPlainSheet(const QImage& sheet, std::int32_t count, SpriteSet& set,
                   SpriteProgress* progress)
{
    set = SpriteSet();
    const int cells = CellsToCut(sheet, count);
    for (int i = 0; i < cells; ++i) {
        const QPoint at = MaskCellOrigin(i);
        AddSprite(set, CutCell(sheet, at.x() + ImageOffset, at.y()),
                  CutCell(sheet, at.x(), at.y()));
        StepProgress(progress);
    }
    StepProgress(progress, PositiveCount(count) - cells);
}

void CutTurnedSheet(const QImage& sheet, std::int32_t count, std::array<SpriteSet, 7>& sets,
                    bool nudge, SpriteProgress* progress)
{
    EmptyFacingSets(sets);
    const int cells = CellsToCut(sheet, count);
    for (int i = 0; i < cells; ++i) {
        const QPoint at = MaskCellOrigin(i);
        const QImage mask = CutCell(sheet, at.x(), at.y());
        const QImage image = CutCell(sheet, at.x() + ImageOffset, at.y());
        AddSprite(sets[1], image, mask);
        for (int d = 2; d <= 6; ++d) {
            QImage turnedMask = WhiteCell();
            QImage turnedImage = WhiteCell();
            TurnCell(mask, turnedMask, FacingAngle(d));
            TurnCell(image, turnedImage, FacingAngle(d));
            if (nudge) {
                NudgeJoinCell(turnedImage, d);
                NudgeJoinCell(turnedMask, d);
            }
            AddSprite(sets[static_cast<std::size_t>(d)], turnedImage, turnedMask);
            StepProgress(progress);
        }
    }
    StepProgress(progress, TurnedFacings * (PositiveCount(count) - cells));
}
