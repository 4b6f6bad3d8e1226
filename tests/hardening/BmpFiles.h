#pragma once
// Windows BMP files written byte by byte, in the layouts Qt's own writer never produces:
// every bit depth, run-length compression, headers that lie.

#include <QByteArray>
#include <QImage>

enum class BmpLayout { Bits1, Bits4, Bits8, Rle4, Rle8, Bits16, Bits24, Bits32 };

// image as a bottom-up BMP with a 40-byte header. The palette layouts take the image's
// colours in order of first appearance and need at most 2, 16 or 256 of them; 16 bits is
// 5-5-5, which keeps only the top five bits of each channel.
QByteArray BmpFile(const QImage& image, BmpLayout layout);

// A header-only 24-bit BMP that declares width by height pixels and holds no pixel data.
QByteArray BmpHeaderOnly(int width, int height);
