#include "controls/Display.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor Back(0, 0, 64);
const QColor On(255, 0, 0);
const QColor Off(0, 128, 0);
const QColor PenOn(255, 255, 0);
const QColor PenOff(0, 255, 255);

// Distinct colours for everything, so that each pixel tells what drew it.
void UseTestColours(TDisplay& display)
{
    display.SetBackColor(Back);
    display.SetOnColor(On);
    display.SetOffColor(Off);
    display.SetPenOnColor(PenOn);
    display.SetPenOffColor(PenOff);
}

QImage Render(TDisplay& display, char digit)
{
    display.SetDigit(digit);
    return display.RenderBitmap();
}

int CountColour(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

bool LightsSomething(const QImage& image)
{
    return CountColour(image, On) + CountColour(image, PenOn) > 0;
}

QRect PaintedArea(const QImage& image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != Back)
                area |= QRect(x, y, 1, 1);
    return area;
}

// The 41 by 57 dot display of the title screen, with dots 7 pixels wide touching each other.
void MakeSmallDotDisplay(TDisplay& display, TDigitStyle style)
{
    UseTestColours(display);
    display.resize(41, 57);
    display.SetSegWidth(7);
    display.SetMargin(2);
    display.SetDigitStyle(style);
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

}  // namespace

TEST(DisplayTables, SevenSegmentsShowHexDigitsAndADashForTheRest)
{
    EXPECT_EQ(SevenSegmentPattern('0'), 0x7D);
    EXPECT_EQ(SevenSegmentPattern('2'), 0x37);
    EXPECT_EQ(SevenSegmentPattern('7'), 0x51);
    EXPECT_EQ(SevenSegmentPattern('9'), 0x5F);
    EXPECT_EQ(SevenSegmentPattern('B'), 0x6E);
    EXPECT_EQ(SevenSegmentPattern('F'), 0x2B);
    for (char letter = 'a'; letter <= 'f'; ++letter)
        EXPECT_EQ(SevenSegmentPattern(static_cast<unsigned char>(letter)),
                  SevenSegmentPattern(static_cast<unsigned char>(letter - 'a' + 'A')));
    for (const int code : {0, 31, 32, int{'G'}, int{'g'}, int{'-'}, 127})
        EXPECT_EQ(SevenSegmentPattern(static_cast<unsigned char>(code)), 0x02) << int(code);
    EXPECT_EQ(SevenSegmentPattern(200), 0);
}

TEST(DisplayTables, SixteenSegmentsMatchTheirMasks)
{
    EXPECT_EQ(SixteenSegmentPattern(' '), 0x0000);
    EXPECT_EQ(SixteenSegmentPattern('"'), 0x0014);
    EXPECT_EQ(SixteenSegmentPattern('#'), 0xE9D0);
    EXPECT_EQ(SixteenSegmentPattern('%'), 0xADB5);
    EXPECT_EQ(SixteenSegmentPattern('0'), 0x4A15);
    EXPECT_EQ(SixteenSegmentPattern('?'), 0x0943);
    EXPECT_EQ(SixteenSegmentPattern('@'), 0xEAC3);
    EXPECT_EQ(SixteenSegmentPattern('M'), 0x226C);
    EXPECT_EQ(SixteenSegmentPattern('Q'), 0xF247);
    EXPECT_EQ(SixteenSegmentPattern('\\'), 0x1008);
    EXPECT_EQ(SixteenSegmentPattern(']'), 0xA042);
    EXPECT_EQ(SixteenSegmentPattern('_'), 0xC000);
    for (char letter = 'a'; letter <= 'z'; ++letter)
        EXPECT_EQ(SixteenSegmentPattern(static_cast<unsigned char>(letter)),
                  SixteenSegmentPattern(static_cast<unsigned char>(letter - 'a' + 'A')));
    for (const char code : {'\0', '\x1F', '!', '-', '.', '`', '{', '|', '}', '~', '\x7F'})
        EXPECT_EQ(SixteenSegmentPattern(static_cast<unsigned char>(code)), 0x0180) << int(code);
    EXPECT_EQ(SixteenSegmentPattern(128), 0);
}

TEST(DisplayTables, DotMatrixFontMatchesItsRows)
{
    EXPECT_EQ(DotMatrixRows(0x00), (DotRows{0x02, 0x06, 0x0E, 0x1E, 0x0E, 0x06, 0x02}));
    EXPECT_EQ(DotMatrixRows(0x1F), (DotRows{0x11, 0x0A, 0x04, 0x04, 0x0E, 0x04, 0x04}));
    EXPECT_EQ(DotMatrixRows(' '), DotRows{});
    EXPECT_EQ(DotMatrixRows('$'), (DotRows{0x04, 0x0F, 0x14, 0x0E, 0x05, 0x1E, 0x04}));
    EXPECT_EQ(DotMatrixRows('@'), (DotRows{0x0E, 0x11, 0x17, 0x15, 0x17, 0x10, 0x0E}));
    EXPECT_EQ(DotMatrixRows('A'), (DotRows{0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}));
    EXPECT_EQ(DotMatrixRows('\\'), (DotRows{0x00, 0x10, 0x08, 0x04, 0x02, 0x01, 0x00}));
    EXPECT_EQ(DotMatrixRows(']'), (DotRows{0x1C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x1C}));
    EXPECT_EQ(DotMatrixRows('g'), (DotRows{0x00, 0x00, 0x0F, 0x11, 0x0F, 0x01, 0x06}));
    EXPECT_EQ(DotMatrixRows('q'), (DotRows{0x00, 0x00, 0x0E, 0x12, 0x16, 0x0A, 0x03}));
    EXPECT_EQ(DotMatrixRows('~'), (DotRows{0x00, 0x00, 0x08, 0x15, 0x02, 0x00, 0x00}));
    EXPECT_EQ(DotMatrixRows(0x7F), (DotRows{0x0A, 0x15, 0x0A, 0x15, 0x0A, 0x15, 0x0A}));
    EXPECT_EQ(DotMatrixRows(0xDF), DotRows{});
    for (int code = 0; code < 128; ++code) {
        const DotRows rows = DotMatrixRows(static_cast<unsigned char>(code));
        int lit = 0;
        for (const std::uint8_t row : rows) {
            EXPECT_EQ(row & 0xE0, 0) << code;
            lit += row;
        }
        EXPECT_EQ(lit == 0, code == ' ') << code;
    }
}

TEST(Display, StartsWithItsDefaults)
{
    TDisplay display;
    EXPECT_EQ(display.Digit(), 0);
    EXPECT_EQ(display.OnColor(), QColor(255, 0, 0));
    EXPECT_EQ(display.OffColor(), QColor(128, 128, 128));
    EXPECT_EQ(display.BackColor(), QColor(0, 0, 0));
    EXPECT_EQ(display.SegWidth(), 15);
    EXPECT_EQ(display.Margin(), 10);
    EXPECT_EQ(display.DigitStyle(), ds7Seg);
    EXPECT_EQ(display.PenOnColor(), QColor(0, 0, 0));
    EXPECT_EQ(display.PenOffColor(), QColor(0, 0, 0));
    EXPECT_EQ(display.size(), QSize(120, 200));
    EXPECT_TRUE(display.testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_EQ(display.RenderBitmap().size(), QSize(118, 198));
}

TEST(Display, DotMatrixOfTouchingDotsCoversItsArea)
{
    for (const TDigitStyle style : {ds5x7Dot, ds5x7Bulb}) {
        TDisplay display;
        MakeSmallDotDisplay(display, style);
        const QImage bitmap = Render(display, 'A');
        ASSERT_EQ(bitmap.size(), QSize(39, 55));
        EXPECT_EQ(PaintedArea(bitmap), QRect(QPoint(2, 2), QPoint(36, 50))) << style;

        // Each dot's centre shows whether its bit is set.
        const DotRows rows = DotMatrixRows('A');
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column) {
                const bool lit = (rows[static_cast<std::size_t>(row)] >> (4 - column) & 1) != 0;
                EXPECT_EQ(bitmap.pixelColor(2 + 7 * column + 3, 2 + 7 * row + 3), lit ? On : Off)
                    << "style " << style << " row " << row << " column " << column;
            }
        // Squares reach their corners; bulbs leave them to the background.
        EXPECT_EQ(bitmap.pixelColor(2, 2) == Back, style == ds5x7Bulb);
    }
}

TEST(Display, GapsOpenWhenTheControlGrowsAndTheLayoutFollowsTheSize)
{
    TDisplay display;
    MakeSmallDotDisplay(display, ds5x7Dot);
    Render(display, 'A');
    display.resize(46, 64);  // one pixel gap between dots in both directions
    const QImage bitmap = display.RenderBitmap();
    EXPECT_EQ(PaintedArea(bitmap), QRect(QPoint(2, 2), QPoint(40, 56)));
    EXPECT_EQ(bitmap.pixelColor(9, 5), Back);
    EXPECT_EQ(bitmap.pixelColor(5, 9), Back);
}

TEST(Display, BlankLightsNothingExceptTheSevenSegmentDash)
{
    for (const TDigitStyle style : {ds16Seg, ds5x7Dot, ds5x7Bulb}) {
        TDisplay display;
        UseTestColours(display);
        display.SetDigitStyle(style);
        const QImage blank = Render(display, ' ');
        EXPECT_FALSE(LightsSomething(blank)) << style;
        EXPECT_GT(CountColour(blank, Off), 0) << style;  // unlit segments stay visible
        EXPECT_TRUE(LightsSomething(Render(display, '0'))) << style;
    }
    TDisplay display;
    UseTestColours(display);
    const QImage dash = Render(display, '-');
    EXPECT_EQ(Render(display, ' '), dash);
    EXPECT_EQ(Render(display, 'G'), dash);
    EXPECT_EQ(Render(display, '\0'), dash);
    // 120 by 200, SegWidth 15, Margin 10: the middle bar is lit, the top and left are not.
    EXPECT_EQ(dash.pixelColor(60, 100 - 7 + 7), On);
    EXPECT_EQ(dash.pixelColor(60, 10 + 7), Off);
    EXPECT_EQ(dash.pixelColor(10 + 7, 25 + 34), Off);
}

TEST(Display, SegmentsFollowThePattern)
{
    TDisplay display;
    UseTestColours(display);
    // '1' lights the two right-hand uprights only.
    const QImage one = Render(display, '1');
    EXPECT_EQ(one.pixelColor(95 + 7, 25 + 34), On);   // upper right
    EXPECT_EQ(one.pixelColor(95 + 7, 107 + 34), On);  // lower right
    EXPECT_EQ(one.pixelColor(10 + 7, 25 + 34), Off);  // upper left
    EXPECT_EQ(one.pixelColor(17 + 42, 10 + 7), Off);  // top

    display.SetDigitStyle(ds16Seg);
    // 'I' lights the top and bottom bars and the two centre uprights, nothing at the sides.
    const QImage letter = Render(display, 'I');
    EXPECT_EQ(letter.pixelColor(53 + 7, 17 + 30), On);   // upper centre (W2 - h, M + h)
    EXPECT_EQ(letter.pixelColor(53 + 7, 107 + 30), On);  // lower centre
    EXPECT_EQ(letter.pixelColor(10 + 7, 17 + 30), Off);  // upper left, outer
    EXPECT_EQ(letter.pixelColor(17 + 17, 10 + 3), On);   // top, left half
}

TEST(Display, DashesAndCaseAcrossStyles)
{
    TDisplay display;
    UseTestColours(display);
    display.SetDigitStyle(ds16Seg);
    const QImage dash = Render(display, '-');
    EXPECT_TRUE(LightsSomething(dash));
    for (const char code : {'!', '.', '\0', '~'})
        EXPECT_EQ(Render(display, code), dash) << int(code);

    for (const TDigitStyle style : {ds7Seg, ds16Seg}) {
        display.SetDigitStyle(style);
        EXPECT_EQ(Render(display, 'a'), Render(display, 'A')) << style;
        EXPECT_EQ(Render(display, 'd'), Render(display, 'D')) << style;
    }
    display.SetDigitStyle(ds5x7Dot);
    EXPECT_NE(Render(display, 'a'), Render(display, 'A'));
}

TEST(Display, CodesAbove127LightNothing)
{
    for (const TDigitStyle style : {ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb}) {
        TDisplay display;
        UseTestColours(display);
        display.SetDigitStyle(style);
        const QImage image = Render(display, static_cast<char>(0xDF));
        EXPECT_FALSE(LightsSomething(image)) << style;
        EXPECT_GT(CountColour(image, Off), 0) << style;
    }
}

TEST(Display, PaintLeavesTheOnePixelFrameAlone)
{
    TDisplay display;
    MakeSmallDotDisplay(display, ds5x7Dot);
    display.SetDigit('W');
    const QColor marker(1, 2, 3);
    QImage target(display.size(), QImage::Format_RGB32);
    target.fill(marker);
    display.render(&target, QPoint(), QRegion(), QWidget::DrawChildren);

    for (int x = 0; x < 41; ++x) {
        EXPECT_EQ(target.pixelColor(x, 0), marker);
        EXPECT_EQ(target.pixelColor(x, 56), marker);
    }
    for (int y = 0; y < 57; ++y) {
        EXPECT_EQ(target.pixelColor(0, y), marker);
        EXPECT_EQ(target.pixelColor(40, y), marker);
    }
    EXPECT_EQ(target.copy(1, 1, 39, 55), display.RenderBitmap());
}

TEST(Display, ChangesRepaintAtOnceAndUnchangedValuesNotAtAll)
{
    TDisplay display;
    MakeSmallDotDisplay(display, ds5x7Dot);
    display.show();
    QApplication::processEvents();
    PaintCounter counter;
    display.installEventFilter(&counter);

    display.SetDigit('A');
    EXPECT_EQ(counter.paints, 1);
    display.SetDigit('A');
    EXPECT_EQ(counter.paints, 1);
    display.SetOnColor(On);
    display.SetSegWidth(7);
    display.SetMargin(2);
    display.SetDigitStyle(ds5x7Dot);
    EXPECT_EQ(counter.paints, 1);

    display.SetOnColor(Qt::white);
    EXPECT_EQ(counter.paints, 2);
    display.SetSegWidth(5);
    EXPECT_EQ(counter.paints, 3);
    display.SetDigitStyle(ds5x7Bulb);
    EXPECT_EQ(counter.paints, 4);
}

TEST(Display, TinyControlsPaintNothing)
{
    TDisplay display;
    display.resize(2, 40);
    EXPECT_TRUE(display.RenderBitmap().isNull());
    display.resize(3, 3);
    EXPECT_EQ(display.RenderBitmap().size(), QSize(1, 1));
}
