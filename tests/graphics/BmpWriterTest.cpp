// Our bitmap writer against Qt's: the same bytes for the same image, whatever its size,
// format, colours and resolution.

#include "graphics/BmpWriter.h"
#include "platform/Errors.h"
#include "tests/support/FileSizeLimit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

namespace {

QByteArray QtBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "BMP"));
    return bytes;
}

// Every pixel a colour of its own, alpha included.
QImage Noise(int width, int height, QImage::Format format, std::uint32_t seed)
{
    std::mt19937 random(seed);
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, static_cast<QRgb>(random()));
    return image.convertToFormat(format);
}

TEST(BmpWriter, GivesQtsBytesForEveryRowPaddingAndFormat)
{
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_ARGB32,
                                      QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888,
                                      QImage::Format_RGB16, QImage::Format_RGBA8888,
                                      QImage::Format_Grayscale16};
    std::uint32_t seed = 1;
    for (const QImage::Format format : formats)
        for (const int width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 18, 19, 33})
            for (const int height : {1, 2, 5}) {
                const QImage image = Noise(width, height, format, seed++);
                ASSERT_EQ(BmpBytes(image), QtBytes(image)) << format << " " << width << "x" << height;
            }
}

TEST(BmpWriter, TakesTheResolutionFromTheImage)
{
    QImage image = Noise(1590, 1301, QImage::Format_RGB32, 7);
    EXPECT_EQ(BmpBytes(image), QtBytes(image));
    for (const int dots : {3780, 1, 2834, -5, 2147483647}) {
        image.setDotsPerMeterX(dots);
        image.setDotsPerMeterY(dots / 2 + 1);
        ASSERT_EQ(BmpBytes(image), QtBytes(image)) << dots;
    }
    // A bitmap read back keeps the resolution it was written with.
    QImage read;
    ASSERT_TRUE(read.loadFromData(BmpBytes(image), "BMP"));
    EXPECT_EQ(BmpBytes(read), BmpBytes(image));
}

TEST(BmpWriter, RefusesAnEmptyImage)
{
    EXPECT_THROW(BmpBytes(QImage()), GcError);
}

TEST(BmpWriter, WritesTheFileWholeOrLeavesWhatWasThere)
{
    const QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("map.BMP");
    const QImage image = Noise(33, 17, QImage::Format_RGB32, 3);
    WriteBmpFile(path, image);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QtBytes(image));
    file.close();

    try {
        WriteBmpFile(path, QImage());
        ADD_FAILURE() << "an empty image was written";
    } catch (const GcError&) {
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QtBytes(image));
    }
    const QString unwritable = QDir(dir.path()).filePath("no folder/map.BMP");
    try {
        WriteBmpFile(unwritable, image);
        ADD_FAILURE() << "a file was reported written into a missing folder";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().contains(unwritable)) << error.Text().toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"map.BMP"});
}

TEST(BmpWriter, AWriteThatFailsHalfwayStopsTheEncodingAndKeepsTheOldFile)
{
    const QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("map.BMP");
    const QImage small = Noise(20, 20, QImage::Format_RGB32, 4);
    WriteBmpFile(path, small);
    // The limit falls in the first band, and then among later ones.
    for (const rlim_t limit : {rlim_t{1000}, rlim_t{1} << 20}) {
        const FileSizeLimit capped(limit);
        ASSERT_TRUE(capped.Applied());
        EXPECT_THROW(WriteBmpFile(path, Noise(1590, 1301, QImage::Format_RGB32, 5)), GcError) << limit;
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QtBytes(small));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"map.BMP"});
}

}  // namespace
