// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// Our PNG writer against Qt's decoder and Qt's writer: every pixel of every image it takes.

#include "graphics/PngWriter.h"
#include "platform/Errors.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

QImage RandomImage(QSize size, QImage::Format format, std::mt19937& random)
{
    QImage argb(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            argb.setPixel(x, y, static_cast<QRgb>(random()));
    QImage image = argb.convertToFormat(format);
    image.setDotsPerMeterX(static_cast<int>(random() % 10000) + 1);
    image.setDotsPerMeterY(static_cast<int>(random() % 10000) + 1);
    return image;
}

// The pixels as Qt decodes them, in one format for comparing.
QImage Decoded(const QByteArray& bytes, QByteArray* format = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (format)
        *format = reader.format();
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

QByteArray QtPng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return bytes;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PngWriter : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const QString path = dir.filePath("image.png");
};

// Sizes of one pixel, odd widths (the shuffle's tail), and rows longer than a chunk.
TEST_F(PngWriter, QtDecodesThePixelsOfEveryFormatItTakesAsQtsOwnWriterStoresThem)
{
    std::mt19937 random(23);
    const QSize sizes[] = {{1, 1}, {2, 3}, {5, 1}, {37, 23}, {7, 64}, {1590, 3}, {300, 1200}};
    const QImage::Format formats[] = {
        QImage::Format_RGB32,      QImage::Format_ARGB32,   QImage::Format_ARGB32_Premultiplied,
        QImage::Format_RGB888,     QImage::Format_RGBA8888, QImage::Format_Indexed8,
        QImage::Format_Grayscale8, QImage::Format_Mono,     QImage::Format_RGB16};
    for (const QSize size : sizes)
        for (const QImage::Format format : formats) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " format "
                                            << static_cast<int>(format));
            const QImage image = RandomImage(size, format, random);
            ASSERT_TRUE(PngWriterTakes(format));
            WritePngFile(path, image);
            QByteArray kind;
            const QImage ours = Decoded(ReadAll(path), &kind);
            EXPECT_EQ(kind, "png");
            EXPECT_EQ(ours, Decoded(QtPng(image)));
            EXPECT_EQ(ours, image.convertToFormat(QImage::Format_ARGB32));
            const QImage header = QImageReader(path).read();
            EXPECT_EQ(header.hasAlphaChannel(), image.hasAlphaChannel());
            EXPECT_EQ(header.dotsPerMeterX(), image.dotsPerMeterX());
            EXPECT_EQ(header.dotsPerMeterY(), image.dotsPerMeterY());
        }
}

TEST_F(PngWriter, LeavesDeeperFormatsToQt)
{
    for (const QImage::Format format :
         {QImage::Format_RGBA64, QImage::Format_RGBX64, QImage::Format_Grayscale16,
          QImage::Format_A2RGB30_Premultiplied, QImage::Format_RGB30, QImage::Format_RGBA32FPx4})
        EXPECT_FALSE(PngWriterTakes(format)) << static_cast<int>(format);
    EXPECT_FALSE(PngWriterTakes(QImage::Format_Invalid));
}

// Parts of no rows, of one, and many; rows of random and of repeating pixels, with and without
// alpha; each part filled on a thread of its own.
TEST_F(PngWriter, OneEncoderWritesFileAfterFileInPartsFilledOnThreadsApart)
{
    std::mt19937 random(5);
    for (const int parts : {1, 2, 3, 8}) {
        PngEncoder encoder(parts);
        ASSERT_EQ(encoder.Parts(), parts);
        for (const QSize size : {QSize(400, 300), QSize(3, 2), QSize(900, 700), QSize(1, 1)})
            for (const bool repeating : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << parts << " parts, " << size.width() << "x" << size.height()
                             << (repeating ? " repeating" : ""));
                QImage image = RandomImage(size, QImage::Format_ARGB32, random);
                if (repeating)
                    for (int y = 0; y < size.height(); ++y)
                        for (int x = 0; x < size.width(); ++x)
                            image.setPixel(x, y, image.pixel(x % 7, y % 5));
                const bool alpha = size.width() % 2 == 0;
                if (!alpha)
                    image = image.convertToFormat(QImage::Format_RGB32);
                encoder.Begin(size.width(), size.height(), alpha);
                ASSERT_EQ(encoder.FirstRow(0), 0);
                ASSERT_EQ(encoder.FirstRow(parts), size.height());
                std::vector<std::thread> threads;
                threads.reserve(static_cast<std::size_t>(parts));
                for (int part = 0; part < parts; ++part)
                    threads.emplace_back([&, part] {
                        for (int y = encoder.FirstRow(part); y < encoder.FirstRow(part + 1); ++y)
                            encoder.AddRow(part,
                                           reinterpret_cast<const QRgb*>(image.constScanLine(y)));
                    });
                for (std::thread& thread : threads)
                    thread.join();
                encoder.Write(path, 0, 0);
                EXPECT_EQ(Decoded(ReadAll(path)), image.convertToFormat(QImage::Format_ARGB32));
            }
    }
}

TEST_F(PngWriter, AFailedWriteNamesTheFileAndTheSystemsReasonAndKeepsWhatWasThere)
{
    std::mt19937 random(9);
    const QImage small = RandomImage({4, 4}, QImage::Format_RGB32, random);
    WritePngFile(path, small);
    const QByteArray before = ReadAll(path);
    const QImage large = RandomImage({300, 300}, QImage::Format_RGB32, random);
    {
        const FileSizeLimit capped(2048);
        ASSERT_TRUE(capped.Applied());
        try {
            WritePngFile(path, large);
            ADD_FAILURE() << "a PNG larger than the limit was written";
        } catch (const GcError& error) {
            EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
            EXPECT_TRUE(error.Text().contains(QString::fromLocal8Bit(std::strerror(EFBIG))))
                << error.Text().toStdString();
        }
    }
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"image.png"});

    const QString missing = dir.filePath("no folder/image.png");
    try {
        WritePngFile(missing, small);
        ADD_FAILURE() << "written into a missing folder";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().contains(missing)) << error.Text().toStdString();
        EXPECT_TRUE(error.Text().contains(QString::fromLocal8Bit(std::strerror(ENOENT))))
            << error.Text().toStdString();
    }
    EXPECT_THROW(WritePngFile(path, QImage()), GcError);
    EXPECT_THROW(PngEncoder().Begin(0, 5, false), GcError);

    // A part given too few rows or too many makes no file.
    const QRgb row[4] = {};
    for (const int rows : {3, 5}) {
        PngEncoder encoder(2);
        encoder.Begin(4, 8, false);
        for (int y = 0; y < 4; ++y)
            encoder.AddRow(1, row);
        for (int y = 0; y < rows; ++y)
            encoder.AddRow(0, row);
        EXPECT_THROW(encoder.Write(path, 0, 0), GcError) << rows;
        EXPECT_EQ(ReadAll(path), before);
    }
}

}  // namespace
