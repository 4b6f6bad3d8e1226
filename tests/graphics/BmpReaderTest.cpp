// Our reading of the plain 24-bit bitmaps against Qt's reader: the same picture for every
// size, row order, gap before the pixels and value of the fields Qt passes over; the kinds we
// leave to Qt stay Qt's.

#include "graphics/BmpReader.h"

#include <gtest/gtest.h>
#include <QtEndian>
#include <random>

namespace {

struct PlainBitmap {
    int Width = 1;
    int Height = 1;  // below 0: rows stored top-down
    int Gap = 0;     // bytes between the headers and the pixels
    quint32 HeaderSize = 40;
    quint16 Planes = 1;
    qint64 PixelOffset = -1;  // below 0: right after the headers and the gap
};

// A 24-bit uncompressed bitmap of random pixels, padding bytes, gap and trailing bytes, with
// random values in the fields that do not describe the pixels.
QByteArray Bitmap(const PlainBitmap& shape, std::mt19937& random)
{
    const auto rowBytes = (shape.Width * 3 + 3) / 4 * 4;
    const int rows = std::abs(shape.Height);
    const auto headersEnd = 14 + static_cast<qsizetype>(shape.HeaderSize);
    QByteArray file(
        headersEnd + shape.Gap + qsizetype{rowBytes} * rows + static_cast<int>(random() % 7), '\0');
    for (char& byte : file)
        byte = static_cast<char>(random());
    auto* bytes = reinterpret_cast<uchar*>(file.data());
    bytes[0] = 'B';
    bytes[1] = 'M';
    const qint64 offset = shape.PixelOffset >= 0 ? shape.PixelOffset : headersEnd + shape.Gap;
    qToLittleEndian<quint32>(static_cast<quint32>(offset), bytes + 10);
    qToLittleEndian<quint32>(shape.HeaderSize, bytes + 14);
    qToLittleEndian<qint32>(shape.Width, bytes + 18);
    qToLittleEndian<qint32>(shape.Height, bytes + 22);
    qToLittleEndian<quint16>(shape.Planes, bytes + 26);
    qToLittleEndian<quint16>(24, bytes + 28);
    qToLittleEndian<quint32>(0, bytes + 30);
    // A colour count, which a file without a palette has no use for.
    qToLittleEndian<quint32>(static_cast<quint32>(random() % 300), bytes + 46);
    return file;
}

QImage QtsPicture(const QByteArray& file)
{
    const QImage image = QImage::fromData(file, "BMP");
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

TEST(BmpReader, PlainBitmapsGiveQtsPicture)
{
    std::mt19937 random(5);
    for (int i = 0; i < 400; ++i) {
        PlainBitmap shape;
        shape.Width = 1 + static_cast<int>(random() % 70);
        shape.Height = (1 + static_cast<int>(random() % 40)) * (random() % 2 != 0 ? -1 : 1);
        shape.Gap = static_cast<int>(random() % 2 != 0 ? random() % 9 : 0);
        const QByteArray file = Bitmap(shape, random);
        const QImage ours = DecodeBmp(file);
        ASSERT_FALSE(ours.isNull()) << i;
        ASSERT_EQ(ours, QtsPicture(file)) << i << ": " << shape.Width << "x" << shape.Height;
        ASSERT_EQ(ours.format(), QImage::Format_RGB32);
    }
}

TEST(BmpReader, OtherHeadersPlanesAndPixelOffsetsStayQts)
{
    std::mt19937 random(6);
    const auto check = [&](const PlainBitmap& shape, const char* what) {
        const QByteArray file = Bitmap(shape, random);
        EXPECT_EQ(DecodeBmp(file), QtsPicture(file)) << what;
    };
    check({.Width = 9, .Height = 5, .HeaderSize = 108}, "version 4 header");
    check({.Width = 9, .Height = -5, .HeaderSize = 124}, "version 5 header");
    check({.Width = 9, .Height = 5, .Planes = 2}, "two planes");
    check({.Width = 9, .Height = 5, .Planes = 0}, "no plane");
    check({.Width = 9, .Height = 5, .Gap = 20, .PixelOffset = 0}, "no pixel offset");
    check({.Width = 9, .Height = 5, .Gap = 20, .PixelOffset = 40}, "pixels inside the header");
}

TEST(BmpReader, CutShortOrTooLargeIsNoBitmap)
{
    std::mt19937 random(7);
    const QByteArray whole = Bitmap({.Width = 10, .Height = 10}, random);
    const auto rowBytes = 32;
    EXPECT_FALSE(DecodeBmp(whole.left(54 + rowBytes * 10)).isNull());
    EXPECT_TRUE(DecodeBmp(whole.left(54 + rowBytes * 10 - 1)).isNull());
    EXPECT_TRUE(DecodeBmp(whole.left(20)).isNull());
    QByteArray huge = whole;
    qToLittleEndian<qint32>(8193, huge.data() + 18);
    qToLittleEndian<qint32>(2048, huge.data() + 22);  // 4 bytes each: just past MaxSheetBytes
    huge.append(QByteArray(8193 * 3 * 2048 + 2048 * 4, '\0'));
    EXPECT_TRUE(DecodeBmp(huge).isNull());
    qToLittleEndian<qint32>(8192, huge.data() + 18);
    EXPECT_FALSE(DecodeBmp(huge).isNull());
}

}  // namespace
