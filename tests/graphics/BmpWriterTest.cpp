// Our bitmap writer against Qt's: the same bytes for the same image, whatever its size,
// format, colours and resolution.

#include "graphics/BmpWriter.h"
#include "platform/Errors.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
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
    const QImage::Format formats[] = {
        QImage::Format_RGB32,      QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
        QImage::Format_RGB888,     QImage::Format_RGB16,  QImage::Format_RGBA8888,
        QImage::Format_Grayscale16};
    std::uint32_t seed = 1;
    for (const QImage::Format format : formats)
        for (const int width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 18, 19, 33})
            for (const int height : {1, 2, 5}) {
                const QImage image = Noise(width, height, format, seed++);
                ASSERT_EQ(BmpBytes(image), QtBytes(image))
                    << format << " " << width << "x" << height;
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

TEST(BmpWriter, RefusesAnEmptyImage) { EXPECT_THROW(BmpBytes(QImage()), GcError); }

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
        EXPECT_THROW(WriteBmpFile(path, Noise(1590, 1301, QImage::Format_RGB32, 5)), GcError)
            << limit;
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QtBytes(small));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"map.BMP"});
}

}  // namespace

namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The picture of image, band by band, noting the bands asked for.
BandedPicture BandsOf(const QImage& image, int bandRows, std::vector<int>& asked)
{
    return {image.width(),
            image.height(),
            bandRows,
            image.dotsPerMeterX(),
            image.dotsPerMeterY(),
            [&image, bandRows, &asked](int band, uchar* bits, qsizetype pitch) {
                asked.push_back(band);
                const int top = band * bandRows;
                for (int y = top; y < std::min(top + bandRows, image.height()); ++y)
                    std::memcpy(bits + (y - top) * pitch, image.constScanLine(y),
                                static_cast<std::size_t>(image.width()) * 4);
            }};
}

}  // namespace

TEST(BmpWriter, APicturePaintedBandByBandGivesTheImagesBytes)
{
    const QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("map.BMP");
    std::uint32_t seed = 40;
    for (const auto& [width, height] : {std::pair{1, 1}, {7, 5}, {33, 64}, {21, 70}})
        for (const int bandRows : {1, 3, 32, 100}) {
            QImage image = Noise(width, height, QImage::Format_RGB32, seed++);
            image.setDotsPerMeterX(1000 + width);
            std::vector<int> asked;
            WriteBmpFile(path, BandsOf(image, bandRows, asked));
            ASSERT_EQ(FileBytes(path), BmpBytes(image))
                << width << "x" << height << " in " << bandRows;
            // From the last band up, each once: the file's rows go from the bottom up.
            const int bands = (height + bandRows - 1) / bandRows;
            ASSERT_EQ(asked.size(), static_cast<std::size_t>(bands));
            for (int i = 0; i < bands; ++i)
                ASSERT_EQ(asked[static_cast<std::size_t>(i)], bands - 1 - i);
        }
    std::vector<int> asked;
    EXPECT_THROW(WriteBmpFile(path, BandsOf(QImage(), 32, asked)), GcError);
    EXPECT_THROW(WriteBmpFile(path, BandsOf(Noise(4, 4, QImage::Format_RGB32, 1), 0, asked)),
                 GcError);
    EXPECT_TRUE(asked.empty());
}
