// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// Write BMP and Export image: the dialog's proposal, the file, the notice, and the refusals.

#include "editor/ImageCommands.h"

#include "core/MapCreation.h"
#include "core/MapModel.h"
#include "graphics/BmpWriter.h"
#include "graphics/MapOutput.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/Showcase.h"
#include "platform/BusyCursor.h"
#include "platform/Errors.h"
#include "settings/Settings.h"
#include "tests/core/QtPrinters.h"
#include "tests/graphics/SyntheticSprites.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>
#include <cerrno>

namespace {

constexpr QRgb Red = 0xffff0000;
constexpr QRgb Blue = 0xff0000ff;

class WriteBmp : public ::testing::Test {
protected:
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    QStringList cursor;

    void SetUp() override
    {
        SetCaptionSink(nullptr);
        ClearMap();
        synthetic::PaintHalves(Red, Blue);
        SetBusyCursorHooks([this] { cursor << "busy"; }, [this] { cursor << "default"; });
    }
    void TearDown() override
    {
        SetBusyCursorHooks(nullptr, nullptr);
        FreeSpriteLibrary();
    }

    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(WriteBmp, WritesTheWholeImageAsAWindowsBitmap)
{
    const QString path = dir.filePath("NewMap.BMP");
    prompts.AnswerFileDialog(path);

    WriteBitmapCommand();

    EXPECT_EQ(prompts.DialogTitles, QStringList{"Write Bitmap File"});
    EXPECT_EQ(prompts.DialogFileNames, QStringList{"NewMap.BMP"});
    EXPECT_EQ(prompts.Informations, QStringList{"BMP image " + path + " created"});
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));

    const QByteArray bytes = ReadAll(path);
    ASSERT_GT(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 18), MapImageWidth);
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 22), MapImageHeight);
    // The resolution of any image made in this process, as Qt gives it.
    const QImage fresh(1, 1, QImage::Format_RGB32);
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 38), fresh.dotsPerMeterX());
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 42), fresh.dotsPerMeterY());
    QImageReader reader(path, "bmp");
    const QImage written = reader.read();
    ASSERT_FALSE(written.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), MapImage());
    // Byte for byte what Qt's own writer made of the map image.
    QByteArray qtBytes;
    QBuffer buffer(&qtBytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(MapImage().save(&buffer, "BMP"));
    EXPECT_EQ(bytes, qtBytes);
}

TEST_F(WriteBmp, TheDialogProposesTheMapsNameAsABitmapAndTheNoticeNamesTheFileWritten)
{
    MapName = dir.filePath("desert.KVX");
    const QString path = dir.filePath("picture.BMP");
    prompts.AnswerFileDialog(path);

    WriteBitmapCommand();

    EXPECT_EQ(prompts.DialogFileNames, QStringList{dir.filePath("desert.BMP")});
    EXPECT_EQ(prompts.Informations, QStringList{"BMP image " + path + " created"});
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(WriteBmp, NoNameThatReachesTheOpenMapsFileIsWritten)
{
    const QByteArray map(20480, '\x07');
    const QString mapFile = dir.filePath("maps/m1.KVX");
    ASSERT_TRUE(QDir(dir.path()).mkpath("maps"));
    QFile file(mapFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(map);
    file.close();
    ASSERT_TRUE(QFile::link(mapFile, dir.filePath("link.KVX")));
    MapName = mapFile;

    // The ways a name can reach a file are SameFile's; here the command asks it.
    const QString names[] = {mapFile, dir.filePath("link.KVX")};
    for (const QString& name : names) {
        prompts.AnswerFileDialog(name);
        WriteBitmapCommand();
        ASSERT_EQ(prompts.Warnings.size(), 1) << name.toStdString();
        EXPECT_TRUE(prompts.Warnings.takeFirst().startsWith(name + " is the file of the open map"));
    }
    EXPECT_EQ(ReadAll(mapFile), map);
    EXPECT_TRUE(prompts.Informations.isEmpty());
    EXPECT_TRUE(cursor.isEmpty());

    // Beside it, or once the map is no longer the one in the file, the bitmap is written.
    prompts.AnswerFileDialog(dir.filePath("maps/m1.BMP"));
    WriteBitmapCommand();
    MapName = "NewMap";
    prompts.AnswerFileDialog(mapFile);
    WriteBitmapCommand();
    EXPECT_EQ(prompts.Informations.size(), 2);
    EXPECT_TRUE(prompts.Warnings.isEmpty());
    EXPECT_TRUE(ReadAll(mapFile).startsWith("BM"));
}

TEST_F(WriteBmp, TheFilledMechsGoIntoTheFileAlthoughTheMapHoldsNone)
{
    synthetic::FillSetsInMemory(4);
    MechSpriteCount = 4;
    synthetic::ClearMapImage();
    Randomize(5);
    FillMechs();
    const QString path = dir.filePath("mechs.BMP");
    prompts.AnswerFileDialog(path);

    WriteBitmapCommand();

    const QImage written(path, "BMP");
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), MapImage());
    QImage black(MapImageWidth, MapImageHeight, QImage::Format_RGB32);
    black.fill(Qt::black);
    EXPECT_NE(MapImage(), black);
    EXPECT_FALSE(MapModified);
}

TEST_F(WriteBmp, CancellingWritesNothing)
{
    prompts.AnswerFileDialog(std::nullopt);

    WriteBitmapCommand();

    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(prompts.Informations.isEmpty());
    EXPECT_TRUE(cursor.isEmpty());
}

TEST_F(WriteBmp, AFileThatCannotBeCreatedIsReportedWithoutTheNotice)
{
    const QString path = dir.filePath("missing folder/map.BMP");
    prompts.AnswerFileDialog(path);

    try {
        WriteBitmapCommand();
        ADD_FAILURE() << "the bitmap was reported written";
    } catch (const GcError& error) {
        EXPECT_EQ(error.Text(), "Cannot create file " + path + ": " + qt_error_string(ENOENT));
    }

    EXPECT_TRUE(prompts.Informations.isEmpty());
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));
}

TEST_F(WriteBmp, AFolderInPlaceOfTheFileIsReportedAndKept)
{
    const QString path = dir.filePath("taken.BMP");
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.BMP"));

    EXPECT_THROW(WriteMapImageFile(path), GcError);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

// Export image: the same protections as Write BMP, the format by the name chosen, and the
// picture drawn anew from the map, not the map image with what was painted into it.
using ExportImage = WriteBmp;

TEST_F(ExportImage, WritesAPngOrABitmapByTheNameChosenAndNamesTheFile)
{
    const QImage painted = MapImage().copy();
    MapName = dir.filePath("desert.KVX");
    const QString png = dir.filePath("desert.png");
    const QString bitmap = dir.filePath("desert.bmp");
    prompts.AnswerFileDialog(png);
    prompts.AnswerFileDialog(bitmap);

    ExportImageCommand();
    ExportImageCommand();

    EXPECT_EQ(prompts.DialogTitles, (QStringList{"Export Image", "Export Image"}));
    EXPECT_EQ(prompts.DialogFileNames.first(), dir.filePath("desert.png"));
    EXPECT_EQ(prompts.Informations,
              (QStringList{"Image " + png + " created", "Image " + bitmap + " created"}));
    EXPECT_EQ(cursor, (QStringList{"busy", "default", "busy", "default"}));
    EXPECT_EQ(MapImage(), painted);
    RedrawMap();
    ASSERT_NE(MapImage(), painted);
    QImageReader reader(png);
    reader.setDecideFormatFromContent(true);
    EXPECT_EQ(reader.format(), "png");
    EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32), MapImage());
    EXPECT_EQ(ReadAll(bitmap), BmpBytes(MapImage()));
}

TEST_F(ExportImage, TheOpenMapsFileIsRefusedAndAFailureGivesTheReason)
{
    const QString mapFile = dir.filePath("m1.KVX");
    const QByteArray map(20480, '\x07');
    QFile file(mapFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(map);
    file.close();
    MapName = mapFile;
    prompts.AnswerFileDialog(mapFile);

    ExportImageCommand();

    EXPECT_EQ(prompts.Warnings, QStringList{mapFile + " is the file of the open map; the image was "
                                                      "not written. Choose another name for it."});
    EXPECT_EQ(ReadAll(mapFile), map);
    EXPECT_TRUE(prompts.Informations.isEmpty());

    const QString missing = dir.filePath("no folder/m1.png");
    prompts.AnswerFileDialog(missing);
    try {
        ExportImageCommand();
        ADD_FAILURE() << "the image was reported written";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().startsWith("Cannot create file " + missing + ": "))
            << error.Text().toStdString();
    }
    EXPECT_TRUE(prompts.Informations.isEmpty());
}

}  // namespace
