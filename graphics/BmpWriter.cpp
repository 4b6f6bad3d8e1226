#include "graphics/BmpWriter.h"

#include "platform/Errors.h"
#include "platform/SafeFile.h"

#include <QBuffer>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
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

// The file's rows, a band of them at a time, and what its headers say.
struct Bitmap {
    int Width = 0;
    int Height = 0;
    qint32 DotsPerMeterX = 0;
    qint32 DotsPerMeterY = 0;
    int BandRows = 0;
    // Readies band b's rows, from b * BandRows on; then Row(y) gives each of them.
    std::function<void(int band)> ReadyBand;
    std::function<const QRgb*(int y)> Row;
    qint64 RowBytes = 0;
    qint32 PixelBytes = 0;
    qint32 FileSize = 0;
};

void PutHeaders(uchar* out, const Bitmap& bitmap)
{
    *out++ = 'B';
    *out++ = 'M';
    PutLittleEndian<qint32>(out, bitmap.FileSize);
    PutLittleEndian<qint32>(out, 0);  // two reserved words
    PutLittleEndian<qint32>(out, PixelDataOffset);
    PutLittleEndian<qint32>(out, InfoHeaderSize);
    PutLittleEndian<qint32>(out, bitmap.Width);
    PutLittleEndian<qint32>(out, bitmap.Height);
    PutLittleEndian<qint16>(out, 1);  // planes
    PutLittleEndian<qint16>(out, BitsPerPixel);
    PutLittleEndian<qint32>(out, 0);  // no compression
    PutLittleEndian<qint32>(out, bitmap.PixelBytes);
    PutLittleEndian<qint32>(out, DotsPerMeter(bitmap.DotsPerMeterX));
    PutLittleEndian<qint32>(out, DotsPerMeter(bitmap.DotsPerMeterY));
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
    const __m128i dropAlphas =
        _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
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
    out += std::ptrdiff_t{3} * x;
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

// The sizes of bitmap's file; throws GcError for a bitmap the format cannot hold.
void Measure(Bitmap& bitmap)
{
    if (bitmap.Width <= 0 || bitmap.Height <= 0)
        throw GcError(QStringLiteral("Cannot write an empty image as a bitmap"));
    bitmap.RowBytes = (static_cast<qint64>(bitmap.Width) * BitsPerPixel + 31) / 32 * 4;
    const qint64 pixelBytes = bitmap.RowBytes * bitmap.Height;
    if (PixelDataOffset + pixelBytes > std::numeric_limits<qint32>::max())
        throw GcError(QStringLiteral("The image is too large for a bitmap file"));
    bitmap.PixelBytes = static_cast<qint32>(pixelBytes);
    bitmap.FileSize = static_cast<qint32>(PixelDataOffset + pixelBytes);
}

constexpr int ImageBandRows = 32;

Bitmap FromImage(const QImage& image)
{
    if (image.isNull())
        throw GcError(QStringLiteral("Cannot write an empty image as a bitmap"));
    const QImage source = ThirtyTwoBits(image);
    Bitmap bitmap{
        image.width(),
        image.height(),
        image.dotsPerMeterX(),
        image.dotsPerMeterY(),
        ImageBandRows,
        [](int) {},
        [source](int y) { return reinterpret_cast<const QRgb*>(source.constScanLine(y)); }};
    Measure(bitmap);
    return bitmap;
}

Bitmap FromBands(const BandedPicture& picture)
{
    if (picture.BandRows <= 0)
        throw GcError(QStringLiteral("Cannot write an empty image as a bitmap"));
    Bitmap bitmap{picture.Width,
                  picture.Height,
                  picture.DotsPerMeterX,
                  picture.DotsPerMeterY,
                  picture.BandRows,
                  {},
                  {}};
    Measure(bitmap);
    // Measured first: the band is only made for a picture the format can hold.
    const qsizetype pitch = qsizetype{picture.Width} * static_cast<qsizetype>(sizeof(QRgb));
    const auto band = std::make_shared<std::vector<QRgb>>(
        static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.BandRows));
    bitmap.ReadyBand = [picture, band, pitch](int b) {
        picture.Paint(b, reinterpret_cast<uchar*>(band->data()), pitch);
    };
    bitmap.Row = [band, width = picture.Width, rows = picture.BandRows](int y) {
        return band->data() + static_cast<std::size_t>(y % rows) * static_cast<std::size_t>(width);
    };
    return bitmap;
}

int Bands(const Bitmap& bitmap) { return (bitmap.Height + bitmap.BandRows - 1) / bitmap.BandRows; }

// The rows of band b into out, which has room for BandRows rows and SpareBytes, from the
// band's last row up. Returns their length.
qint64 PutBand(const Bitmap& bitmap, int b, uchar* out)
{
    const auto rowBytes = static_cast<std::size_t>(bitmap.RowBytes);
    const int top = b * bitmap.BandRows;
    const int rows = std::min(bitmap.BandRows, bitmap.Height - top);
    bitmap.ReadyBand(b);
    for (int row = 0; row < rows; ++row)
        PutRow(out + static_cast<std::size_t>(row) * rowBytes, bitmap.Row(top + rows - 1 - row),
               bitmap.Width, rowBytes);
    return bitmap.RowBytes * rows;
}

// The file into out a band of rows at a time, from the last band up, so that no copy of the
// whole file is made; false when out refuses a write.
bool WriteBitmap(const Bitmap& bitmap, QIODevice& out)
{
    std::array<uchar, PixelDataOffset> headers{};
    PutHeaders(headers.data(), bitmap);
    if (out.write(reinterpret_cast<const char*>(headers.data()), PixelDataOffset) !=
        PixelDataOffset)
        return false;
    std::vector<uchar> band(static_cast<std::size_t>(bitmap.RowBytes) *
                                static_cast<std::size_t>(bitmap.BandRows) +
                            SpareBytes);
    for (int b = Bands(bitmap) - 1; b >= 0; --b) {
        const qint64 length = PutBand(bitmap, b, band.data());
        if (out.write(reinterpret_cast<const char*>(band.data()), length) != length)
            return false;
    }
    return true;
}

void WriteFile(const QString& path, const Bitmap& bitmap)
{
    WriteFileUnsynced(
        path, [&bitmap](QIODevice& out) { return WriteBitmap(bitmap, out); }, bitmap.FileSize);
}

}  // namespace

QByteArray BmpBytes(const QImage& image)
{
    const Bitmap bitmap = FromImage(image);
    QByteArray bytes;
    bytes.reserve(bitmap.FileSize);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteBitmap(bitmap, buffer);
    return bytes;
}

void WriteBmpFile(const QString& path, const QImage& image) { WriteFile(path, FromImage(image)); }

void WriteBmpFile(const QString& path, const BandedPicture& picture)
{
    WriteFile(path, FromBands(picture));
}
