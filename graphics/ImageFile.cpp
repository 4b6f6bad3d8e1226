#include "graphics/ImageFile.h"

#include "graphics/BmpWriter.h"
#include "graphics/DrawList.h"
#include "graphics/HexGeometry.h"
#include "graphics/MapPicture.h"
#include "graphics/MapRenderer.h"
#include "graphics/PngWriter.h"
#include "platform/Errors.h"
#include "platform/SafeFile.h"

#include <QImageWriter>

bool IsPngPath(const QString& path)
{
    return path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
}

void WriteImageFile(const QString& path, const QImage& image)
{
    if (!IsPngPath(path)) {
        WriteBmpFile(path, image);
        return;
    }
    if (image.isNull())
        throw GcError(QStringLiteral("Cannot write an empty image as %1").arg(path));
    if (PngWriterTakes(image.format())) {
        WritePngFile(path, image);
        return;
    }
    WriteFileUnsynced(path, [&image](QIODevice& out) {
        QImageWriter writer(&out, QByteArrayLiteral("png"));
        return writer.write(image);
    });
}

void WriteRedrawnMapFile(const QString& path, LayerMask shown)
{
    if (IsPngPath(path)) {
        PngEncoder encoder(RedrawStrips());
        WriteRedrawnMapPng(encoder, path, shown);
        return;
    }
    const std::vector<SpriteDraw> draws = PictureDrawList(shown);
    const BandPainter painter(draws, MapImageHeight);
    // The resolution the map image has: that of any new image.
    const QImage blank(1, 1, QImage::Format_RGB32);
    WriteBmpFile(path,
                 BandedPicture{
                     MapImageWidth, MapImageHeight, BandPainter::BandRows, blank.dotsPerMeterX(),
                     blank.dotsPerMeterY(), [&painter](int band, uchar* bits, qsizetype pitch) {
                         painter.Paint(band, {bits, pitch, MapImageWidth, painter.RowsOfBand(band)},
                                       0, MapImageWidth);
                     }});
}
