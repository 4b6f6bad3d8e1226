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

// paint(painter, part) for each of parts parts of the picture of PictureDrawList(shown), each on a
// thread of its own.
void PaintOnThreads(LayerMask shown, int parts,
                    const std::function<void(const BandPainter&, int part)>& paint)
{
    const std::vector<SpriteDraw> draws = PictureDrawList(shown);
    const BandPainter painter(draws, MapImageHeight);
    OnThreads(parts, [&](int part) { paint(painter, part); });
}

int Boundary(int length, int part, int parts)
{
    return static_cast<int>(qint64{length} * part / parts);
}

}  // namespace

void WriteRedrawnMapPng(PngEncoder& encoder, const QString& path, LayerMask shown)
{
    encoder.Begin(MapImageWidth, MapImageHeight, false);
    PaintOnThreads(shown, encoder.Parts(), [&encoder](const BandPainter& painter, int part) {
        PaintRows(painter, encoder.FirstRow(part), encoder.FirstRow(part + 1),
                  [&encoder, part](int, const QRgb* row) { encoder.AddRow(part, row); });
    });
    // The resolution of a new image, which the map image has.
    const QImage blank(1, 1, QImage::Format_RGB32);
    encoder.Write(path, blank.dotsPerMeterX(), blank.dotsPerMeterY());
}

QImage RedrawnMapThumbnail(int edge, LayerMask shown)
{
    const QSize source(MapImageWidth, MapImageHeight);
    QImage thumbnail(FitWithin(source, edge), QImage::Format_RGB32);
    const BoxScaler::Target target = BoxScaler::TargetOf(thumbnail);
    // Each thread makes target rows of its own from the source rows that fall into them.
    const int parts = RedrawStrips();
    PaintOnThreads(shown, parts, [&](const BandPainter& painter, int part) {
        const int first = Boundary(target.Size.height(), part, parts);
        const int last = Boundary(target.Size.height(), part + 1, parts);
        BoxScaler scaler(source, target, first, last);
        PaintRows(painter, scaler.FirstSourceRow(first), scaler.FirstSourceRow(last),
                  [&scaler](int y, const QRgb* row) { scaler.AddRow(y, row); });
    });
    return thumbnail;
}
