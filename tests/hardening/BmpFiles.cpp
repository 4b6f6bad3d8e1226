#include "BmpFiles.h"

#include <QList>
#include <QtEndian>
#include <stdexcept>

namespace {

constexpr int FileHeaderSize = 14;
constexpr int InfoHeaderSize = 40;
constexpr quint32 BiRgb = 0;
constexpr quint32 BiRle8 = 1;
constexpr quint32 BiRle4 = 2;

void Put16(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void Put32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void PutByte(QByteArray& out, int value) { out.append(static_cast<char>(value)); }

int BitCount(BmpLayout layout)
{
    switch (layout) {
    case BmpLayout::Bits1: return 1;
    case BmpLayout::Bits4:
    case BmpLayout::Rle4: return 4;
    case BmpLayout::Bits8:
    case BmpLayout::Rle8: return 8;
    case BmpLayout::Bits16: return 16;
    case BmpLayout::Bits24: return 24;
    case BmpLayout::Bits32: return 32;
    }
    return 0;
}

bool HasPalette(BmpLayout layout) { return BitCount(layout) <= 8; }

QList<QRgb> Palette(const QImage& image, int bitCount)
{
    QList<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) | 0xff000000u;
            if (!colours.contains(colour))
                colours.append(colour);
        }
    if (colours.size() > (1 << bitCount))
        throw std::invalid_argument("too many colours for the bit depth");
    return colours;
}

void PutHeaders(QByteArray& out, QSize size, int bitCount, quint32 compression, int paletteSize,
                qint64 pixelBytes)
{
    const qint64 pixelOffset = FileHeaderSize + InfoHeaderSize + 4 * paletteSize;
    out.append("BM");
    Put32(out, static_cast<quint32>(pixelOffset + pixelBytes));
    Put32(out, 0);
    Put32(out, static_cast<quint32>(pixelOffset));
    Put32(out, InfoHeaderSize);
    Put32(out, static_cast<quint32>(size.width()));
    Put32(out, static_cast<quint32>(size.height()));
    Put16(out, 1);
    Put16(out, static_cast<quint16>(bitCount));
    Put32(out, compression);
    Put32(out, static_cast<quint32>(pixelBytes));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, static_cast<quint32>(paletteSize));
    Put32(out, 0);
}

// Rows bottom-up, each padded to four bytes.
QByteArray PlainPixels(const QImage& image, int bitCount, const QList<QRgb>& palette)
{
    QByteArray pixels;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row;
        int bits = 0;
        int pending = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y);
            switch (bitCount) {
            case 1:
            case 4:
            case 8:
                pending =
                    (pending << bitCount) | static_cast<int>(palette.indexOf(colour | 0xff000000u));
                bits += bitCount;
                if (bits == 8) {
                    PutByte(row, pending);
                    bits = pending = 0;
                }
                break;
            case 16:
                Put16(row,
                      static_cast<quint16>(((qRed(colour) >> 3) << 10) |
                                           ((qGreen(colour) >> 3) << 5) | (qBlue(colour) >> 3)));
                break;
            default:
                PutByte(row, qBlue(colour));
                PutByte(row, qGreen(colour));
                PutByte(row, qRed(colour));
                if (bitCount == 32)
                    PutByte(row, 0);
            }
        }
        if (bits > 0)
            PutByte(row, pending << (8 - bits));
        while (row.size() % 4 != 0)
            PutByte(row, 0);
        pixels += row;
    }
    return pixels;
}

// Encoded runs only: a count and an index (4 bits: the index in both halves of the byte),
// each row closed by an end of line, the whole by an end of bitmap.
QByteArray RunLengthPixels(const QImage& image, int bitCount, const QList<QRgb>& palette)
{
    QByteArray pixels;
    for (int y = image.height() - 1; y >= 0; --y) {
        int x = 0;
        while (x < image.width()) {
            const QRgb colour = image.pixel(x, y);
            int run = 1;
            while (x + run < image.width() && run < 255 && image.pixel(x + run, y) == colour)
                ++run;
            const int index = static_cast<int>(palette.indexOf(colour | 0xff000000u));
            PutByte(pixels, run);
            PutByte(pixels, bitCount == 4 ? (index << 4) | index : index);
            x += run;
        }
        PutByte(pixels, 0);
        PutByte(pixels, 0);
    }
    PutByte(pixels, 0);
    PutByte(pixels, 1);
    return pixels;
}

}  // namespace

QByteArray BmpFile(const QImage& image, BmpLayout layout)
{
    const int bitCount = BitCount(layout);
    const QList<QRgb> palette = HasPalette(layout) ? Palette(image, bitCount) : QList<QRgb>();
    const bool runLength = layout == BmpLayout::Rle4 || layout == BmpLayout::Rle8;
    const QByteArray pixels = runLength ? RunLengthPixels(image, bitCount, palette)
                                        : PlainPixels(image, bitCount, palette);
    const quint32 compression = layout == BmpLayout::Rle4   ? BiRle4
                                : layout == BmpLayout::Rle8 ? BiRle8
                                                            : BiRgb;
    QByteArray out;
    PutHeaders(out, image.size(), bitCount, compression, static_cast<int>(palette.size()),
               pixels.size());
    for (const QRgb colour : palette) {
        PutByte(out, qBlue(colour));
        PutByte(out, qGreen(colour));
        PutByte(out, qRed(colour));
        PutByte(out, 0);
    }
    return out + pixels;
}

QByteArray BmpHeaderOnly(int width, int height)
{
    QByteArray out;
    const qint64 rowBytes = (static_cast<qint64>(width) * 24 + 31) / 32 * 4;
    PutHeaders(out, QSize(width, height), 24, BiRgb, 0, rowBytes * height);
    return out;
}
