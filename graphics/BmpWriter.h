#pragma once
// Images as 24-bit Windows bitmaps, encoded by hand: the bytes Qt's BMP writer gives for an
// image of 32 bits per pixel, several times faster than its stream of single pixels.

#include <QByteArray>
#include <QImage>
#include <QString>

// The whole file: the 14-byte file header, the 40-byte information header (the resolution
// from the image's dots per meter, 2834 where it has none), then the rows from the bottom up
// as blue, green, red, each padded with zero bytes to a multiple of four. Any format is
// taken as Qt's writer takes it to 32 bits; so the bytes are Qt's for every format but the
// 1- and 8-bit ones, which Qt writes with a palette. Throws GcError for a null image or one
// too large for the format.
QByteArray BmpBytes(const QImage& image);

// BmpBytes(image) as the file path, through a temporary file renamed over path once it is
// whole. Throws GcError "Cannot create file PATH: reason".
void WriteBmpFile(const QString& path, const QImage& image);
