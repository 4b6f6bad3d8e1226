#include "graphics/BmpReader.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <array>
#include <bit>
#include <cstdlib>
#include <limits>
#include <optional>

namespace {

// What a bitmap's header declares, as far as the checks before decoding need it.
struct BmpHeader {
    bool Signature = false;  // "BM"
    quint32 HeaderSize = 0;
    qint64 PixelOffset = 0;
    qint64 Width = 0;
    qint64 Height = 0;  // rows, whether stored bottom-up or top-down
    bool TopDown = false;
    qint64 Planes = 0;
    qint64 BitCount = 0;
    quint32 Compression = 0;
    qint64 CompressedSize = 0;
};

std::optional<BmpHeader> ReadBmpHeader(const QByteArray& file)
{
    constexpr qsizetype FileHeaderSize = 14;
    constexpr quint32 CoreHeaderSize = 12;
    constexpr quint32 InfoHeaderSize = 40;
    if (file.size() < FileHeaderSize + static_cast<qsizetype>(CoreHeaderSize))
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const uchar*>(file.constData());
    BmpHeader header;
    header.Signature = bytes[0] == 'B' && bytes[1] == 'M';
    header.PixelOffset = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(bytes + 14);
    header.HeaderSize = headerSize;
    if (headerSize == CoreHeaderSize) {
        header.Width = qFromLittleEndian<quint16>(bytes + 18);
        header.Height = qFromLittleEndian<quint16>(bytes + 20);
        header.Planes = qFromLittleEndian<quint16>(bytes + 22);
        header.BitCount = qFromLittleEndian<quint16>(bytes + 24);
        return header;
    }
    if (headerSize < InfoHeaderSize || file.size() < FileHeaderSize + InfoHeaderSize)
        return std::nullopt;
    header.Width = qFromLittleEndian<qint32>(bytes + 18);
    const qint32 height = qFromLittleEndian<qint32>(bytes + 22);
    header.Height = std::abs(static_cast<qint64>(height));
    header.TopDown = height < 0;
    header.Planes = qFromLittleEndian<quint16>(bytes + 26);
    header.BitCount = qFromLittleEndian<quint16>(bytes + 28);
    header.Compression = qFromLittleEndian<quint32>(bytes + 30);
    header.CompressedSize = qFromLittleEndian<quint32>(bytes + 34);
    return header;
}

// Qt's reader fills the missing rows of a file cut short with black; here such a file is
// not a valid bitmap. Only the uncompressed and RLE layouts say how much data they need.
bool PixelDataComplete(const BmpHeader& header, qsizetype fileSize)
{
    constexpr quint32 Rle8 = 1;
    constexpr quint32 Rle4 = 2;
    if (header.Width < 0)
        return false;
    const qint64 available = fileSize - header.PixelOffset;
    if (header.Compression == Rle8 || header.Compression == Rle4)
        return available >= header.CompressedSize;
    const qint64 rowBytes = (header.Width * header.BitCount + 31) / 32 * 4;
    // Compared by division: a hostile header's rows times height need not fit in 64 bits.
    return available >= 0 && (rowBytes == 0 || header.Height <= available / rowBytes);
}

// A run-length sheet of a few bytes can unpack to hundreds of megabytes; no sheet needs more
// than MaxSheetBytes as the 32-bit image it is cut from.
bool DecodesWithinCap(const BmpHeader& header)
{
    return header.Width <= 0 || header.Height <= MaxSheetBytes / 4 / header.Width;
}

// Qt widens the five- or six-bit channels of a 16-bit bitmap by shifting alone, so the white
// of a mask would read as (248, 248, 248) and count as opaque. Repeating each channel's bits
// below themselves fills it out: white reads as white, and values Qt filled out stay as they are.
void FillOutSixteenBitChannels(QImage& sheet, const QByteArray& file)
{
    constexpr qsizetype MasksEnd = 14 + 40 + 12;
    constexpr quint32 BitFields = 3;
    const auto* bytes = reinterpret_cast<const uchar*>(file.constData());
    if (file.size() < MasksEnd || qFromLittleEndian<quint32>(bytes + 14) < 40 ||
        qFromLittleEndian<quint16>(bytes + 28) != 16)
        return;
    std::array<quint32, 3> masks{0x7C00, 0x03E0, 0x001F};
    if (qFromLittleEndian<quint32>(bytes + 30) == BitFields)
        for (std::size_t c = 0; c < masks.size(); ++c)
            masks[c] = qFromLittleEndian<quint32>(bytes + 54 + 4 * c);
    std::array<std::array<uchar, 256>, 3> filled{};
    for (std::size_t c = 0; c < masks.size(); ++c) {
        const int bits = std::popcount(masks[c]);
        for (int x = 0; x < 256; ++x) {
            int value = x;
            for (int shift = bits; bits > 0 && shift < 8; shift += bits)
                value |= x >> shift;
            filled[c][static_cast<std::size_t>(x)] = static_cast<uchar>(value);
        }
    }
    for (int y = 0; y < sheet.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(sheet.scanLine(y));
        for (int x = 0; x < sheet.width(); ++x)
            row[x] = qRgb(filled[0][static_cast<std::size_t>(qRed(row[x]))],
                          filled[1][static_cast<std::size_t>(qGreen(row[x]))],
                          filled[2][static_cast<std::size_t>(qBlue(row[x]))]);
    }
}

constexpr quint32 InfoHeaderSize = 40;
constexpr qint64 TwentyFourBits = 24;
constexpr qint64 BytesPerPixelInFile = 3;

// The plain kind of bitmap every sheet of ours is (the 40-byte header, 24 bits, uncompressed,
// its pixels after the headers), read here: Qt's reader would first look through every image
// plugin installed, and takes longer over the pixels.
bool PlainTwentyFourBits(const BmpHeader& header)
{
    return header.Signature && header.HeaderSize == InfoHeaderSize && header.Planes == 1 &&
           header.BitCount == TwentyFourBits && header.Compression == 0 && header.Width > 0 &&
           header.Height > 0 && header.PixelOffset >= 14 + InfoHeaderSize;
}

// Only for PlainTwentyFourBits whose pixel data is complete.
QImage DecodeTwentyFourBits(const QByteArray& file, const BmpHeader& header)
{
    const auto width = static_cast<int>(header.Width);
    const auto height = static_cast<int>(header.Height);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const qint64 rowBytes = (header.Width * BytesPerPixelInFile + 3) / 4 * 4;
    const auto* pixels = reinterpret_cast<const uchar*>(file.constData()) + header.PixelOffset;
    for (int y = 0; y < height; ++y) {
        const uchar* in = pixels + rowBytes * (header.TopDown ? y : height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += BytesPerPixelInFile)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}

QImage DecodeWithQt(const QByteArray& file)
{
    QByteArray bytes = file;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);
    QImage image;
    if (!reader.read(&image))
        return {};
    image = image.convertToFormat(QImage::Format_RGB32);
    FillOutSixteenBitChannels(image, file);
    return image;
}

}  // namespace

QImage DecodeBmp(const QByteArray& file)
{
    const std::optional<BmpHeader> header = ReadBmpHeader(file);
    if (!header || !PixelDataComplete(*header, file.size()) || !DecodesWithinCap(*header))
        return {};
    if (PlainTwentyFourBits(*header))
        return DecodeTwentyFourBits(file, *header);
    return DecodeWithQt(file);
}
