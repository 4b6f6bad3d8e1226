#include "graphics/BmpWriter.h"

#include "platform/Errors.h"
#include "platform/SafeFile.h"

#include <QBuffer>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

constexpr qsizetype FileHeaderSize = 14;
constexpr qsizetype InfoHeaderSize = 40;
constexpr qsizetype PixelDataOffset = FileHeaderSize + InfoHeaderSize;
constexpr quint16 BitsPerPixel = 24;
// 72 dots per inch, Qt's choice for an image that has no resolution.
constexpr qint32 DefaultDotsPerMeter = 2834;

// The image as Qt's writer takes it: 32 bits per pixel, alpha kept apart from the colours.
QImage ThirtyTwoBits(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

qint32 DotsPerMeter(int dots) { return dots != 0 ? dots : DefaultDotsPerMeter; }

template <typename T>
void PutLittleEndian(uchar*& out, T value)
{
    qToLittleEndian(value, out);
    out += sizeof(T);
}

void PutHeaders(uchar* out, const QImage& image, qint32 fileSize, qint32 pixelBytes)
{
    *out++ = 'B';
    *out++ = 'M';
    PutLittleEndian<qint32>(out, fileSize);
    PutLittleEndian<qint32>(out, 0);  // two reserved words
    PutLittleEndian<qint32>(out, PixelDataOffset);
    PutLittleEndian<qint32>(out, InfoHeaderSize);
    PutLittleEndian<qint32>(out, image.width());
    PutLittleEndian<qint32>(out, image.height());
    PutLittleEndian<qint16>(out, 1);  // planes
    PutLittleEndian<qint16>(out, BitsPerPixel);
    PutLittleEndian<qint32>(out, 0);  // no compression
    PutLittleEndian<qint32>(out, pixelBytes);
    PutLittleEndian<qint32>(out, DotsPerMeter(image.dotsPerMeterX()));
    PutLittleEndian<qint32>(out, DotsPerMeter(image.dotsPerMeterY()));
    PutLittleEndian<qint32>(out, 0);  // no palette: colours used
    PutLittleEndian<qint32>(out, 0);  // and colours important
}

#if defined(__x86_64__)
// Four pixels at a time where the processor has SSSE3's byte shuffle: their sixteen bytes
// become the twelve of blue, green and red, stored as sixteen, the next four overwriting the
// spare ones. Returns how many pixels it put; out has room for four spare bytes past them.
__attribute__((target("ssse3"))) int PutFourAtATime(uchar* out, const QRgb* pixels, int width)
{
    static const bool shuffles = __builtin_cpu_supports("ssse3");
    if (!shuffles)
        return 0;
    const __m128i dropAlphas = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 4 <= width; x += 4, out += 12) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(four, dropAlphas));
    }
    return x;
}
#else
int PutFourAtATime(uchar*, const QRgb*, int) { return 0; }
#endif

// Two pixels at a time: their eight bytes, blue, green, red and alpha each, become the six of
// blue, green and red by dropping the alphas, and are stored as eight, the next pair
// overwriting the two spare ones. Several times quicker than single bytes. The spare bytes of
// the last group land in the row's padding, which is zeroed after, or at the start of the
// next row, which is put after; the caller leaves SpareBytes after the last row.
constexpr std::size_t SpareBytes = 4;
void PutRow(uchar* out, const QRgb* pixels, int width, std::size_t rowBytes)
{
    constexpr quint64 FirstColour = 0x0000000000ffffff;
    constexpr quint64 SecondColour = 0x0000ffffff000000;
    int x = PutFourAtATime(out, pixels, width);
    out += 3 * x;
    for (; x + 2 <= width; x += 2, out += 6) {
        quint64 pair;
        std::memcpy(&pair, pixels + x, sizeof(pair));
        pair = qFromLittleEndian(pair);
        const quint64 packed = qToLittleEndian((pair & FirstColour) | (pair >> 8 & SecondColour));
        std::memcpy(out, &packed, sizeof(packed));
    }
    if (x < width) {
        out[0] = static_cast<uchar>(qBlue(pixels[x]));
        out[1] = static_cast<uchar>(qGreen(pixels[x]));
        out[2] = static_cast<uchar>(qRed(pixels[x]));
        out += 3;
    }
    std::memset(out, 0, rowBytes - 3 * static_cast<std::size_t>(width));
}

struct Bitmap {
    QImage Source;  // 32 bits per pixel
    qint64 RowBytes;
    qint32 PixelBytes;
    qint32 FileSize;
};

Bitmap Prepare(const QImage& image)
{
    if (image.isNull())
        throw GcError(QStringLiteral("Cannot write an empty image as a bitmap"));
    Bitmap bitmap{ThirtyTwoBits(image), 0, 0, 0};
    bitmap.RowBytes = (static_cast<qint64>(image.width()) * BitsPerPixel + 31) / 32 * 4;
    const qint64 pixelBytes = bitmap.RowBytes * image.height();
    if (PixelDataOffset + pixelBytes > std::numeric_limits<qint32>::max())
        throw GcError(QStringLiteral("The image is too large for a bitmap file"));
    bitmap.PixelBytes = static_cast<qint32>(pixelBytes);
    bitmap.FileSize = static_cast<qint32>(PixelDataOffset + pixelBytes);
    return bitmap;
}

constexpr int BandRows = 32;

// Band i of the file's rows into out, which has room for BandRows rows and SpareBytes:
// BandRows rows of the image from the bottom up, or what is left. Returns its length.
qint64 PutBand(const Bitmap& bitmap, int i, uchar* out)
{
    const auto rowBytes = static_cast<std::size_t>(bitmap.RowBytes);
    const int bottom = bitmap.Source.height() - i * BandRows;
    const int rows = std::min(BandRows, bottom);
    for (int row = 0; row < rows; ++row)
        PutRow(out + static_cast<std::size_t>(row) * rowBytes,
               reinterpret_cast<const QRgb*>(bitmap.Source.constScanLine(bottom - 1 - row)),
               bitmap.Source.width(), rowBytes);
    return bitmap.RowBytes * rows;
}

// The file into out a band of rows at a time, so that no copy of the whole file is made;
// false when out refuses a write.
bool WriteBitmap(const Bitmap& bitmap, QIODevice& out)
{
    std::array<uchar, PixelDataOffset> headers{};
    PutHeaders(headers.data(), bitmap.Source, bitmap.FileSize, bitmap.PixelBytes);
    if (out.write(reinterpret_cast<const char*>(headers.data()), PixelDataOffset) != PixelDataOffset)
        return false;
    std::vector<uchar> band(static_cast<std::size_t>(bitmap.RowBytes) * BandRows + SpareBytes);
    const int bands = (bitmap.Source.height() + BandRows - 1) / BandRows;
    for (int i = 0; i < bands; ++i) {
        const qint64 length = PutBand(bitmap, i, band.data());
        if (out.write(reinterpret_cast<const char*>(band.data()), length) != length)
            return false;
    }
    return true;
}

}  // namespace

QByteArray BmpBytes(const QImage& image)
{
    const Bitmap bitmap = Prepare(image);
    QByteArray bytes;
    bytes.reserve(bitmap.FileSize);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteBitmap(bitmap, buffer);
    return bytes;
}

void WriteBmpFile(const QString& path, const QImage& image)
{
    const Bitmap bitmap = Prepare(image);
    WriteFileUnsynced(path, [&bitmap](QIODevice& out) { return WriteBitmap(bitmap, out); },
                      bitmap.FileSize);
}
