#pragma once
// Images as 24-bit Windows bitmaps, encoded by hand: byte for byte the file Qt's BMP writer
// gives, but streamed into the file without a copy of it in memory and without loading Qt's
// image format plugins.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>

// The whole file: the 14-byte file header, the 40-byte information header (the resolution
// from the image's dots per meter, 2834 where it has none), then the rows from the bottom up
// as blue, green, red, each padded with zero bytes to a multiple of four. Any format is
// taken as Qt's writer takes it to 32 bits; so the bytes are Qt's for every format but the
// 1- and 8-bit ones, which Qt writes with a palette. Throws GcError for a null image or one
// too large for the format.
QByteArray BmpBytes(const QImage& image);

// The bytes of BmpBytes(image) as the file path, streamed into a new file that is renamed
// over path once whole (WriteFileUnsynced: not flushed to disk first). Throws GcError naming
// path and the reason; a failed write leaves what path held.
void WriteBmpFile(const QString& path, const QImage& image);

// A picture given a band of rows at a time, so that it need not be whole in memory:
// Paint(band, bits, pitch) sets the rows of the band, from band * BandRows on (BandRows of
// them, or those left for the last band), as 32-bit pixels from bits, rows pitch bytes apart.
// The resolution is in dots per meter, 0 for none.
struct BandedPicture {
    int Width = 0;
    int Height = 0;
    int BandRows = 0;
    int DotsPerMeterX = 0;
    int DotsPerMeterY = 0;
    std::function<void(int band, uchar* bits, qsizetype pitch)> Paint;
};

// WriteBmpFile of the picture, painted band by band from the last band up as the file's rows
// are written; the bytes are those of an image with the picture's pixels and resolution.
void WriteBmpFile(const QString& path, const BandedPicture& picture);
