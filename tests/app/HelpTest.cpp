#include "app/Help.h"

#include "core/Catalogue.h"
#include "graphics/SpriteLibrary.h"
#include "tests/app/ScaleFactor.h"

#include <gtest/gtest.h>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QtMath>
#include <optional>

namespace {

constexpr int TileWidth = 66;
constexpr int TileHeight = 38;

QImage Cell(const QColor& colour)
{
    QImage cell(TileWidth, TileHeight, QImage::Format_RGB32);
    cell.fill(colour);
    return cell;
}

// Opaque in the right half only, so the base tile shows through on the left.
QImage RightHalfMask()
{
    QImage mask = Cell(Qt::white);
    for (int y = 0; y < TileHeight; ++y)
        for (int x = TileWidth / 2; x < TileWidth; ++x)
            mask.setPixelColor(x, y, Qt::black);
    return mask;
}

QColor GroundColour(int i) { return QColor(10 * i + 5, 200, 40); }
QColor EffectColour(int i) { return QColor(200, 30 * i + 5, 90); }
const QColor BaseColour(60, 70, 80);

// Sprite sets made in code, put back as they were after each test.
class HelpList : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedGround = GroundSet;
        savedEffects = EffectSet;
        savedBase = BaseTile;
        LoadSets(12);
    }
    void TearDown() override
    {
        GroundSet = savedGround;
        EffectSet = savedEffects;
        BaseTile = savedBase;
    }

    static void LoadSets(int groundImages)
    {
        GroundSet = SpriteSet{};
        EffectSet = SpriteSet{};
        for (int i = 0; i < groundImages; ++i)
            AddSprite(GroundSet, Cell(GroundColour(i)), RightHalfMask());
        for (int i = 0; i < 5; ++i)
            AddSprite(EffectSet, Cell(EffectColour(i)), RightHalfMask());
        BaseTile = Cell(BaseColour);
    }

    static QImage WhiteList()
    {
        QImage image(281, 905, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }

    // Whether anything but white stands in the rectangle.
    static bool Inked(const QImage& image, const QRect& area)
    {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (image.pixelColor(x, y) != QColor(Qt::white))
                    return true;
        return false;
    }

    SpriteSet savedGround;
    SpriteSet savedEffects;
    QImage savedBase;
};

}  // namespace

TEST_F(HelpList, TerrainRowsShowTheirTileOverTheBaseTile)
{
    QImage list = WhiteList();
    DrawTerrainList(list);
    for (int i = 0; i < 16; ++i) {
        const int y = 40 * i + 50;
        EXPECT_EQ(list.pixelColor(10, y), BaseColour) << i;
        EXPECT_EQ(list.pixelColor(10 + 10, y + 37), BaseColour) << i;
        // Codes without an image (only 12 loaded) show the bare base tile.
        EXPECT_EQ(list.pixelColor(10 + 50, y + 20), i < 12 ? GroundColour(i) : BaseColour) << i;
        EXPECT_EQ(list.pixelColor(10 + 65, y + 37), i < 12 ? GroundColour(i) : BaseColour) << i;
        // Two white pixel rows between neighbouring tiles.
        EXPECT_EQ(list.pixelColor(40, y + 38), QColor(Qt::white)) << i;
        EXPECT_EQ(list.pixelColor(40, y + 39), QColor(Qt::white)) << i;
    }
    EXPECT_EQ(list.pixelColor(40, 49), QColor(Qt::white));
}

TEST_F(HelpList, FourOverlayRowsAfterAGapWithoutTheCursor)
{
    QImage list = WhiteList();
    DrawTerrainList(list);
    for (int i = 1; i <= 4; ++i) {
        const int y = 40 * i + 700;
        EXPECT_EQ(list.pixelColor(10, y), BaseColour) << i;
        EXPECT_EQ(list.pixelColor(60, y + 20), EffectColour(i)) << i;
    }
    EXPECT_EQ(list.pixelColor(60, 897), EffectColour(4));  // the last tile ends at 898
    EXPECT_FALSE(Inked(list, QRect(0, 898, 281, 7)));
    EXPECT_FALSE(Inked(list, QRect(0, 690, 281, 50)));  // the gap
    for (int y = 0; y < list.height(); ++y)
        ASSERT_NE(list.pixelColor(60, y), EffectColour(0)) << y;
}

TEST_F(HelpList, EveryRowCarriesANameAndKeyLabelBesideItsTile)
{
    QImage list = WhiteList();
    DrawTerrainList(list);
    EXPECT_TRUE(Inked(list, QRect(30, 10, 30, 16)));   // "Tile"
    EXPECT_TRUE(Inked(list, QRect(100, 10, 40, 16)));  // "Name"
    EXPECT_TRUE(Inked(list, QRect(220, 10, 30, 16)));  // "Key"
    for (int i = 0; i < 16; ++i) {
        const int y = 40 * i + 60;
        EXPECT_FALSE(TerrainName(static_cast<unsigned>(i)).isEmpty());
        EXPECT_TRUE(Inked(list, QRect(100, y, 110, 20))) << i;
        EXPECT_EQ(Inked(list, QRect(220, y, 60, 20)),
                  !TerrainKeyLabel(static_cast<unsigned>(i)).isEmpty())
            << i;
    }
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(Inked(list, QRect(100, 40 * i + 710, 110, 20))) << i;
}

TEST_F(HelpList, DrawingAgainGivesTheSamePicture)
{
    QImage list = WhiteList();
    DrawTerrainList(list);
    const QImage once = list.copy();
    DrawTerrainList(list);
    EXPECT_EQ(list, once);
}

TEST_F(HelpList, TheWindowDrawsEachShowingWithTheSpritesOfThatMoment)
{
    TfrmHelp help;
    EXPECT_TRUE(help.HelpImage().isNull());
    help.show();
    ASSERT_EQ(help.HelpImage().size(), QSize(281, 905));
    const auto* image = help.findChild<QLabel*>(QStringLiteral("imgHelp"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().size(), QSize(281, 905));
    EXPECT_EQ(help.HelpImage().pixelColor(60, 50 + 40 * 13), BaseColour);
    const QImage first = help.HelpImage().copy();

    auto* ok = help.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "&OK");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(help.isVisible());

    help.show();
    EXPECT_EQ(help.HelpImage(), first);

    // A reload between showings: the next showing has all sixteen images.
    help.hide();
    LoadSets(16);
    help.show();
    EXPECT_EQ(help.HelpImage().pixelColor(60, 50 + 40 * 13), GroundColour(13));
}

// The list is drawn for the window's device pixels: the tiles sharp as the map at any scale
// factor (no blended colour), at whole multiples where the factor is whole, and the text in
// the device's own pixels.
TEST_F(HelpList, TheListIsDrawnForTheWindowsDevicePixels)
{
    TfrmHelp help;
    help.show();
    const qreal ratio = help.devicePixelRatioF();
    const QImage& shown = help.HelpImage();
    EXPECT_EQ(shown.devicePixelRatio(), ratio);
    EXPECT_EQ(shown.size(), QSize(qCeil(281 * ratio), qCeil(905 * ratio)));
    const auto* image = help.findChild<QLabel*>(QStringLiteral("imgHelp"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().devicePixelRatio(), ratio);
    EXPECT_EQ(image->pixmap().size(), shown.size());

    QImage plain = WhiteList();
    DrawTerrainList(plain);
    for (int i = 0; i < 16; ++i) {
        const std::optional<QPoint> blended =
            BlendedPixel(shown, plain, QRect(10, 40 * i + 50, 66, 38));
        EXPECT_FALSE(blended) << "tile " << i << " blends colours at device pixel "
                              << blended.value_or(QPoint()).x() << ","
                              << blended.value_or(QPoint()).y();
    }
    if (ratio != 2)
        return;
    for (int y = 100; y < 176; ++y)
        for (int x = 20; x < 152; ++x)
            ASSERT_EQ(shown.pixel(x, y), plain.pixel(x / 2, y / 2)) << x << "," << y;
    // A name drawn in plain pixels and doubled would fill whole blocks of two by two.
    bool finer = false;
    for (int y = 120; y < 160 && !finer; y += 2)
        for (int x = 200; x < 420 && !finer; x += 2)
            finer = shown.pixel(x, y) != shown.pixel(x + 1, y) ||
                    shown.pixel(x, y) != shown.pixel(x, y + 1) ||
                    shown.pixel(x, y) != shown.pixel(x + 1, y + 1);
    EXPECT_TRUE(finer) << "the text is plain pixels doubled";
}

TEST_F(HelpList, TheListIsDrawnForTheDevicePixelsAtEveryScaleFactor)
{
    for (const char* factor : {"1.5", "2"}) {
        const QString failures =
            FailuresAtScaleFactor("HelpList.TheListIsDrawnForTheWindowsDevicePixels", factor);
        EXPECT_TRUE(failures.isEmpty()) << "at scale factor " << factor << ":\n"
                                        << failures.toStdString();
    }
}

TEST(HelpWindow, LayoutWithoutACloseBox)
{
    TfrmHelp help;
    EXPECT_EQ(help.windowTitle(), "Gridcraft Help");
    EXPECT_EQ(help.size(), QSize(303, 453));
    EXPECT_FALSE(help.windowFlags() & Qt::WindowCloseButtonHint);
    const auto text = [&help](const char* name) {
        const auto* label = help.findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->text() : QString();
    };
    EXPECT_EQ(text("Label3"), "Quick and Dirty Help:");
    EXPECT_EQ(text("Label1"), "Move the cursor with the Numpad keys");
    EXPECT_EQ(text("Label4"), "(Remember to enable NumLock)");
    EXPECT_EQ(text("Label2"), "Change the hex height using the [<] and [>] keys.");
    const auto* box = help.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->geometry(), QRect(0, 96, 301, 321));
    EXPECT_EQ(box->widget()->objectName(), "imgHelp");
    help.show();
    help.close();  // as the window manager asks
    EXPECT_TRUE(help.isVisible());
}

TEST(HelpWindow, OkHasTheFocusAndEnterOrEscapeCloseTheWindow)
{
    TfrmHelp help;
    auto* ok = help.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    ASSERT_NE(ok, nullptr);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        help.show();
        help.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
        EXPECT_EQ(help.focusWidget(), ok);
        QTest::keyClick(help.focusWidget(), key);
        EXPECT_FALSE(help.isVisible()) << key;
    }
    // Enter clicks OK also when the list has the focus.
    help.show();
    help.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"))->setFocus();
    QTest::keyClick(help.focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(help.isVisible());
}

// Each line of the reminder, its ink included, where its alignment puts it, lies inside the
// part of its label that the window shows, at the scale factor this process runs at.
TEST(HelpWindow, EveryLineFitsThePartOfItsLabelThatShows)
{
    TfrmHelp help;
    help.show();
    for (const char* name : {"Label3", "Label1", "Label4", "Label2"}) {
        SCOPED_TRACE(name);
        const auto* label = help.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr);
        ASSERT_EQ(label->parentWidget(), &help);
        const QRect shown = label->geometry() & help.rect();
        const QRect contents = label->contentsRect().translated(label->pos());
        const QFontMetrics metrics(label->font());
        const int advance = metrics.horizontalAdvance(label->text());
        const int left = label->alignment() & Qt::AlignHCenter
                             ? contents.left() + (contents.width() - advance) / 2
                             : contents.left();
        const QRect ink = metrics.tightBoundingRect(label->text()).translated(left, 0);
        EXPECT_LE(advance, shown.width());
        EXPECT_GE(ink.left(), shown.left());
        EXPECT_LE(ink.right(), shown.right());
    }
}

TEST(HelpWindow, EveryLineFitsAtEveryScaleFactor)
{
    for (const char* factor : {"1", "1.5", "2"}) {
        const QString failures =
            FailuresAtScaleFactor("HelpWindow.EveryLineFitsThePartOfItsLabelThatShows", factor);
        EXPECT_TRUE(failures.isEmpty()) << "at scale factor " << factor << ":\n"
                                        << failures.toStdString();
    }
}
