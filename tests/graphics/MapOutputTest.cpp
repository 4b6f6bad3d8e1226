// The map image on a page and in a BMP file.

#include "graphics/MapOutput.h"

#include "SyntheticSprites.h"
#include "core/MapCreation.h"
#include "core/MapModel.h"
#include "graphics/BmpWriter.h"
#include "graphics/MapView.h"
#include "graphics/Showcase.h"
#include "platform/BusyCursor.h"
#include "platform/Errors.h"
#include "settings/Settings.h"
#include "tests/core/QtPrinters.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

constexpr QRgb White = 0xffffffff;
constexpr QRgb Red = 0xffff0000;
constexpr QRgb Blue = 0xff0000ff;

// A white page of width by height pixels at dpi.
QImage BlankPage(int width, int height, int dpi)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(White);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    page.setDotsPerMeterX(dotsPerMeter);
    page.setDotsPerMeterY(dotsPerMeter);
    return page;
}

TEST(PrintRectangle, PortraitAndLandscapePagesAt100Dpi)
{
    EXPECT_EQ(PrintRectangle(100, 100, 800, 1100), (PrintArea{100, 100, 700, 800}));
    EXPECT_EQ(PrintRectangle(100, 100, 1100, 800), (PrintArea{100, 100, 1000, 554}));
}

TEST(PrintRectangle, BottomComesFromThePageHeightTruncated)
{
    // A4 at 300 dpi: 1301 / 1590 * 3508 = 2870.4, less one inch.
    EXPECT_EQ(PrintRectangle(300, 300, 2480, 3508), (PrintArea{300, 300, 2180, 2570}));
    // Unequal resolutions: each margin by its own axis.
    EXPECT_EQ(PrintRectangle(200, 100, 1600, 1100), (PrintArea{200, 100, 1400, 800}));
}

TEST(DrawMapImage, StretchesTheWholeImageIntoTheArea)
{
    synthetic::PaintHalves(Red, Blue);
    QImage page = BlankPage(800, 1100, 100);
    {
        QPainter painter(&page);
        DrawMapImage(painter, PrintArea{100, 100, 700, 800});
    }
    EXPECT_EQ(page.pixel(101, 101), Red);
    EXPECT_EQ(page.pixel(398, 500), Red);
    EXPECT_EQ(page.pixel(402, 500), Blue);
    EXPECT_EQ(page.pixel(698, 798), Blue);
    EXPECT_EQ(page.pixel(99, 400), White);
    EXPECT_EQ(page.pixel(700, 400), White);
    EXPECT_EQ(page.pixel(400, 99), White);
    EXPECT_EQ(page.pixel(400, 800), White);
}

TEST(DrawMapImage, AnAreaWithoutRoomDrawsNothing)
{
    synthetic::PaintHalves(Red, Blue);
    QImage page = BlankPage(150, 150, 100);
    {
        QPainter painter(&page);
        DrawMapImage(painter, PrintRectangle(100, 100, 150, 150));
    }
    EXPECT_EQ(page, BlankPage(150, 150, 100));
}

TEST(PrintMapImage, UsesTheResolutionAndSizeOfThePage)
{
    synthetic::PaintHalves(Red, Blue);
    QImage page = BlankPage(1100, 800, 100);

    PrintMapImage(page);

    EXPECT_EQ(page.pixel(101, 101), Red);
    EXPECT_EQ(page.pixel(998, 552), Blue);
    EXPECT_EQ(page.pixel(1001, 300), White);
    EXPECT_EQ(page.pixel(500, 555), White);
}

TEST(PrintMapImage, APageThatCannotBePaintedIsReported)
{
    QImage nothing;
    EXPECT_THROW(PrintMapImage(nothing), GcError);
}

// The page of a PDF as pdftoppm sees it at 100 dpi; a null image without the tool.
QImage RenderPdfPage(const QString& pdf, const QString& folder)
{
    const QString tool = QStandardPaths::findExecutable("pdftoppm");
    if (tool.isEmpty())
        return {};
    const QString prefix = QDir(folder).filePath("page");
    if (QProcess::execute(tool, {"-png", "-r", "100", "-singlefile", pdf, prefix}) != 0)
        return {};
    return QImage(prefix + ".png");
}

TEST(PrintMapImage, APdfPageShowsTheMapInItsRectangle)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("map.pdf");
    synthetic::PaintHalves(Red, Blue);
    {
        QPdfWriter writer(pdf);
        writer.setResolution(100);
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(8, 11), QPageSize::Inch),
                                         QPageLayout::Portrait, QMarginsF()));
        PrintMapImage(writer);
    }
    const QImage page = RenderPdfPage(pdf, dir.path());
    if (page.isNull())
        GTEST_SKIP() << "pdftoppm is not available";

    ASSERT_EQ(page.size(), QSize(800, 1100));
    const auto near = [&page](int x, int y, QRgb colour) {
        const QRgb seen = page.pixel(x, y);
        return qAbs(qRed(seen) - qRed(colour)) < 40 && qAbs(qGreen(seen) - qGreen(colour)) < 40 &&
               qAbs(qBlue(seen) - qBlue(colour)) < 40;
    };
    EXPECT_TRUE(near(105, 105, Red));
    EXPECT_TRUE(near(395, 795, Red));
    EXPECT_TRUE(near(405, 105, Blue));
    EXPECT_TRUE(near(695, 795, Blue));
    EXPECT_TRUE(near(95, 400, White));
    EXPECT_TRUE(near(705, 400, White));
    EXPECT_TRUE(near(400, 95, White));
    EXPECT_TRUE(near(400, 805, White));
}

TEST(ImageNameFor, PutsTheGivenExtensionInPlaceOfTheMapsOwn)
{
    EXPECT_EQ(ImageNameFor("NewMap", ".png"), "NewMap.png");
    EXPECT_EQ(ImageNameFor("/maps.d/m1.KVX", ".png"), "/maps.d/m1.png");
    EXPECT_EQ(ImageNameFor("/maps/.KVX", ".png"), "/maps/.KVX.png");
}

TEST(BitmapNameFor, ReplacesOnlyTheExtensionOfTheLastPart)
{
    const std::pair<const char*, const char*> cases[] = {
        {"NewMap", "NewMap.BMP"},         {"Random", "Random.BMP"},
        {"/maps/m1.KVX", "/maps/m1.BMP"}, {"/maps/m1.backup.kvx", "/maps/m1.backup.BMP"},
        {"/maps.d/m1", "/maps.d/m1.BMP"}, {"C:\\maps.d\\m1", "C:\\maps.d\\m1.BMP"},
        {"/maps/.KVX", "/maps/.KVX.BMP"}, {"/maps/m1.BMP", "/maps/m1.BMP"},
    };
    for (const auto& [name, proposed] : cases)
        EXPECT_EQ(BitmapNameFor(name), proposed) << name;
}

// Every name that reaches the open map's file is refused, and the map's bytes stay.
}  // namespace
