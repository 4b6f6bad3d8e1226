// The one image writer: PNG or bitmap by the file's name, the same pixels either way.

#include "graphics/ImageFile.h"

#include "graphics/BmpWriter.h"
#include "platform/Errors.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <random>

namespace {

// Every pixel a colour of its own.
QImage Noise(int width, int height)
{
    std::mt19937 random(11);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, static_cast<QRgb>(random()) | 0xff000000u);
    return image;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The image in path as the format its bytes say, converted for comparing.
QImage Decoded(const QString& path, QByteArray& format)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    format = reader.format();
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

class ImageFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    // Of an odd width, so that bitmap rows are padded.
    const QImage image = Noise(37, 23);
};

// The PNG holds the image's pixels exactly, so the same as the bitmap does.
TEST_F(ImageFile, ANameEndingInPngInAnyCaseGivesAPngAndEveryOtherOurBitmap)
{
    const QByteArray bitmap = BmpBytes(image);
    for (const char* name : {"map.png", "map.PNG", "map.Png", "a.bmp.png", ".png"}) {
        const QString path = dir.filePath(name);
        WriteImageFile(path, image);
        QByteArray format;
        EXPECT_EQ(Decoded(path, format), image) << name;
        EXPECT_EQ(format, "png") << name;
        EXPECT_TRUE(IsPngPath(path)) << name;
    }
    for (const char* name :
         {"map.BMP", "map.bmp", "map", "map.png.bmp", "mappng", "map.pngx", "png/map"}) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        WriteImageFile(path, image);
        EXPECT_EQ(ReadAll(path), bitmap) << name;
        EXPECT_FALSE(IsPngPath(path)) << name;
    }
}

TEST_F(ImageFile, AFailedPngLeavesWhatThePathHeldAndNamesIt)
{
    const QString path = dir.filePath("map.png");
    WriteImageFile(path, image.copy(0, 0, 4, 4));
    const QByteArray before = ReadAll(path);
    {
        const FileSizeLimit capped(2048);
        ASSERT_TRUE(capped.Applied());
        try {
            WriteImageFile(path, image);
            ADD_FAILURE() << "a PNG larger than the limit was written";
        } catch (const GcError& error) {
            EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
        }
    }
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"map.png"});

    EXPECT_THROW(WriteImageFile(dir.filePath("no folder/map.png"), image), GcError);
    EXPECT_THROW(WriteImageFile(dir.filePath("empty.png"), QImage()), GcError);
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.png"));
    EXPECT_THROW(WriteImageFile(dir.filePath("taken.png"), image), GcError);
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.png")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"map.png"});
}

}  // namespace
