#include "graphics/BmpWriter.h"

#include "platform/Errors.h"
#include "platform/SafeFile.h"

#include <QtEndian>
#include <cstring>
#include <limits>

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
void Put(uchar*& out, T value)
{
    qToLittleEndian(value, out);
    out += sizeof(T);
}

void PutHeaders(uchar* out, const QImage& image, qint32 fileSize, qint32 pixelBytes)
{
    *out++ = 'B';
    *out++ = 'M';
    Put<qint32>(out, fileSize);
    Put<qint32>(out, 0);  // two reserved words
    Put<qint32>(out, PixelDataOffset);
    Put<qint32>(out, InfoHeaderSize);
    Put<qint32>(out, image.width());
    Put<qint32>(out, image.height());
    Put<qint16>(out, 1);  // planes
    Put<qint16>(out, BitsPerPixel);
    Put<qint32>(out, 0);  // no compression
    Put<qint32>(out, pixelBytes);
    Put<qint32>(out, DotsPerMeter(image.dotsPerMeterX()));
    Put<qint32>(out, DotsPerMeter(image.dotsPerMeterY()));
    Put<qint32>(out, 0);  // no palette: colours used
    Put<qint32>(out, 0);  // and colours important
}

void PutRow(uchar* out, const QRgb* pixels, int width, qint64 rowBytes)
{
    for (int x = 0; x < width; ++x) {
        const QRgb pixel = pixels[x];
        out[0] = static_cast<uchar>(qBlue(pixel));
        out[1] = static_cast<uchar>(qGreen(pixel));
        out[2] = static_cast<uchar>(qRed(pixel));
        out += 3;
    }
    std::memset(out, 0, static_cast<std::size_t>(rowBytes - 3 * static_cast<qint64>(width)));
}

}  // namespace

QByteArray BmpBytes(const QImage& image)
{
    if (image.isNull())
        throw GcError(QStringLiteral("Cannot write an empty image as a bitmap"));
    const QImage source = ThirtyTwoBits(image);
    const qint64 rowBytes = (static_cast<qint64>(source.width()) * BitsPerPixel + 31) / 32 * 4;
    const qint64 pixelBytes = rowBytes * source.height();
    if (PixelDataOffset + pixelBytes > std::numeric_limits<qint32>::max())
        throw GcError(QStringLiteral("The image is too large for a bitmap file"));
    const auto fileSize = static_cast<qint32>(PixelDataOffset + pixelBytes);
    QByteArray bytes(fileSize, Qt::Uninitialized);
    auto* out = reinterpret_cast<uchar*>(bytes.data());
    PutHeaders(out, source, fileSize, static_cast<qint32>(pixelBytes));
    for (int y = 0; y < source.height(); ++y)
        PutRow(out + PixelDataOffset + (source.height() - 1 - y) * rowBytes,
               reinterpret_cast<const QRgb*>(source.constScanLine(y)), source.width(), rowBytes);
    return bytes;
}

void WriteBmpFile(const QString& path, const QImage& image)
{
    WriteFileSafely(path, BmpBytes(image));
}
