// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/MapPicture.h"

#include "graphics/BoxScaler.h"
#include "graphics/DrawList.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapRenderer.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// The rows from first to before last of painter's picture, painted a band at a time into a
// buffer of one band and handed to use in order.
void PaintRows(const BandPainter& painter, int first, int last,
               const std::function<void(int y, const QRgb* row)>& use)
{
    constexpr int Rows = BandPainter::BandRows;
    std::vector<QRgb> band(std::size_t{MapImageWidth} * Rows);
    const qsizetype pitch = qsizetype{MapImageWidth} * static_cast<qsizetype>(sizeof(QRgb));
    for (int b = first / Rows; b * Rows < last; ++b) {
        const int rows = painter.RowsOfBand(b);
        painter.Paint(b, {reinterpret_cast<uchar*>(band.data()), pitch, MapImageWidth, rows}, 0,
                      MapImageWidth);
        for (int y = std::max(first, b * Rows); y < std::min(last, b * Rows + rows); ++y)
            use(y, band.data() + static_cast<std::size_t>(y - b * Rows) * MapImageWidth);
    }
}

// paint(painter, part, parts) for each part of the picture of RedrawList(shown), each on a
// thread of its own, one part per hardware thread.
void PaintOnThreads(LayerMask shown,
                    const std::function<void(const BandPainter&, int part, int parts)>& paint)
{
    const std::vector<SpriteDraw> draws = RedrawList(shown);
    const BandPainter painter(draws, MapImageHeight);
    const int parts = RedrawStrips();
    OnThreads(parts, [&](int part) { paint(painter, part, parts); });
}

int Boundary(int length, int part, int parts)
{
    return static_cast<int>(qint64{length} * part / parts);
}

}  // namespace

PngRows RedrawnMapRows(LayerMask shown)
{
    PngRows rows(MapImageWidth, MapImageHeight, false);
    PaintRedrawnMap(rows, shown);
    return rows;
}

void PaintRedrawnMap(PngRows& rows, LayerMask shown)
{
    PaintOnThreads(shown, [&rows](const BandPainter& painter, int part, int parts) {
        PaintRows(painter, Boundary(MapImageHeight, part, parts),
                  Boundary(MapImageHeight, part + 1, parts),
                  [&rows](int y, const QRgb* row) { rows.SetRow(y, row); });
    });
    // The resolution of a new image, which the map image has.
    const QImage blank(1, 1, QImage::Format_RGB32);
    rows.DotsPerMeterX = blank.dotsPerMeterX();
    rows.DotsPerMeterY = blank.dotsPerMeterY();
}

QImage RedrawnMapThumbnail(int edge, LayerMask shown)
{
    const QSize source(MapImageWidth, MapImageHeight);
    QImage thumbnail(FitWithin(source, edge), QImage::Format_RGB32);
    const BoxScaler::Target target = BoxScaler::TargetOf(thumbnail);
    // Each thread makes target rows of its own from the source rows that fall into them.
    PaintOnThreads(shown, [&](const BandPainter& painter, int part, int parts) {
        const int first = Boundary(target.Size.height(), part, parts);
        const int last = Boundary(target.Size.height(), part + 1, parts);
        BoxScaler scaler(source, target, first, last);
        PaintRows(painter, scaler.FirstSourceRow(first), scaler.FirstSourceRow(last),
                  [&scaler](int y, const QRgb* row) { scaler.AddRow(y, row); });
    });
    return thumbnail;
}
