#include "app/Title.h"

#include "controls/ColorButton.h"
#include "controls/Display.h"
#include "controls/SuperTimer.h"
#include "platform/ScreenDepth.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

const QString DepthWarning = QStringLiteral(
    "Please note that you'll need at least a HighColor modus (16 bpp) to see the graphics "
    "properly");

TDisplay* DisplayNumber(const QWidget& window, int n)
{
    return window.findChild<TDisplay*>(QStringLiteral("Display%1").arg(n));
}

// The characters the fifteen displays show, left to right.
QByteArray Shown(const QWidget& window)
{
    QByteArray shown;
    for (int n = 1; n <= 15; ++n)
        shown += DisplayNumber(window, n)->Digit();
    return shown;
}

// Makes the title screen the program's frmTitle for one test.
class TitleScreen : public ::testing::Test {
protected:
    TitleScreen() { frmTitle = &title; }
    ~TitleScreen() override
    {
        title.SuperTimer1->SetEnabled(false);
        frmTitle = nullptr;
        SetScreenDepthSource({});
    }
    TfrmTitle title;
};

}  // namespace

TEST(Marquee, TheTenPiecesInOrder)
{
    InitMarquee();
    EXPECT_EQ(MarqueePosition, 1);
    ASSERT_EQ(MarqueeText.size(), 375);
    const QByteArray blanks15(15, ' ');
    qsizetype at = 0;
    const auto piece = [&](qsizetype length) {
        QByteArray part = MarqueeText.mid(at, length);
        at += length;
        return part;
    };
    EXPECT_EQ(piece(15), blanks15);
    EXPECT_EQ(piece(43), "Hi! Welcome to the demo of the Gridcrafter.");
    EXPECT_EQ(piece(3), "   ");
    EXPECT_EQ(piece(129),
              "Please keep in mind that this version is only of use to the nice guys who want to "
              "contribute graphics...the game is not done yet,");
    const QByteArray clause = piece(76);
    EXPECT_TRUE(clause.startsWith(' '));
    EXPECT_TRUE(clause.endsWith('.'));
    EXPECT_FALSE(clause.startsWith("  "));
    EXPECT_FALSE(
        QString::fromLatin1(clause).contains(QRegularExpression(QStringLiteral("\\w\\.\\w"))))
        << "a newsgroup name: " << clause.toStdString();
    EXPECT_EQ(piece(7), QByteArray(7, ' '));
    EXPECT_EQ(piece(44), "Don't forget to read the Gridcraft.Doc file!");
    EXPECT_EQ(piece(15), blanks15);
    EXPECT_EQ(piece(28), "Click 'Start' to continue...");
    EXPECT_EQ(piece(15), blanks15);
    EXPECT_EQ(at, MarqueeText.size());
}

TEST(Marquee, SteppingWithoutATitleScreenOnlyMovesOn)
{
    InitMarquee();
    StepMarquee();
    EXPECT_EQ(MarqueePosition, 2);
    for (int tick = 2; tick <= 360; ++tick)
        StepMarquee();
    EXPECT_EQ(MarqueePosition, 1);  // one full cycle is 360 ticks
}

TEST_F(TitleScreen, DisplaysStartBlankAndTheFirstTickBringsTheH)
{
    EXPECT_EQ(Shown(title), QByteArray(15, ' '));
    StepMarquee();
    EXPECT_EQ(Shown(title), QByteArray(14, ' ') + 'H');
    StepMarquee();
    EXPECT_EQ(Shown(title), QByteArray(13, ' ') + "Hi");
}

TEST_F(TitleScreen, TheTextLeavesBehindBlanksAndEntersAgainFromTheRight)
{
    MarqueePosition = 359;
    StepMarquee();
    EXPECT_EQ(Shown(title), '.' + QByteArray(14, ' '));
    EXPECT_EQ(MarqueePosition, 360);
    StepMarquee();
    EXPECT_EQ(Shown(title), QByteArray(15, ' '));
    EXPECT_EQ(MarqueePosition, 1);
    StepMarquee();
    EXPECT_EQ(Shown(title), QByteArray(14, ' ') + 'H');
}

TEST_F(TitleScreen, LayoutOfTheDisplaysAndLabels)
{
    for (int n = 1; n <= 15; ++n) {
        const TDisplay* display = DisplayNumber(title, n);
        ASSERT_NE(display, nullptr) << n;
        EXPECT_EQ(display->geometry(), QRect(16 + 40 * (n - 1), 368, 41, 57)) << n;
        EXPECT_EQ(display->DigitStyle(), ds5x7Dot);
        EXPECT_EQ(display->SegWidth(), 7);
        EXPECT_EQ(display->Margin(), 2);
        EXPECT_EQ(display->OnColor(), QColor(255, 255, 0));
        EXPECT_EQ(display->OffColor(), QColor(128, 0, 0));
        EXPECT_EQ(display->PenOnColor(), QColor(Qt::black));
        EXPECT_EQ(display->PenOffColor(), QColor(Qt::black));
    }
    const auto* version = title.findChild<QLabel*>(QStringLiteral("lblVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text().size(), 3);
    EXPECT_EQ(version->text(), QString::fromUtf16(u"v2\u00DF"));
    EXPECT_EQ(version->geometry(), QRect(244, 252, 373, 85));
    const auto* caution = title.findChild<QLabel*>(QStringLiteral("lblCaution"));
    ASSERT_NE(caution, nullptr);
    EXPECT_EQ(caution->text(), "Caution: Beta version!");
    const auto* start = title.findChild<TColorButton*>(QStringLiteral("ColorButton1"));
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->Caption(), "Start");
    EXPECT_EQ(start->Color(), QColor(0, 128, 0));
    EXPECT_EQ(start->geometry(), QRect(544, 448, 75, 25));
    EXPECT_EQ(title.windowTitle(), "Korvane : Gridcraft");
    EXPECT_FALSE(title.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(title.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(title.palette().color(QPalette::Window), QColor(0, 128, 0));
    EXPECT_EQ(title.SuperTimer1->Interval(), 100);
    EXPECT_FALSE(title.SuperTimer1->Enabled());
}

TEST_F(TitleScreen, TheTitlePictureIsCompiledIn)
{
    const QImage picture(QStringLiteral(":/TitlePicture.png"));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(640, 480));
    EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
    EXPECT_LE(picture.colorCount(), 256);
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::black));
    // The beam runs to the right edge in the upper part.
    bool beam = false;
    for (int y = 60; y < 140 && !beam; ++y)
        beam = picture.pixelColor(639, y).green() > 128;
    EXPECT_TRUE(beam);
    const auto* image = title.findChild<QLabel*>(QStringLiteral("imgTitle"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().size(), QSize(640, 480));
    EXPECT_EQ(image->pos(), QPoint(2, 0));
}

TEST_F(TitleScreen, ShowingStartsTheMarqueeAtOneStepPerTick)
{
    title.show();
    EXPECT_TRUE(title.SuperTimer1->Enabled());
    ASSERT_TRUE(QTest::qWaitFor([] { return MarqueePosition >= 3; }, 5000));
    title.SuperTimer1->SetEnabled(false);
    QTest::qWait(150);  // a tick in flight may still land
    const std::int32_t position = MarqueePosition;
    EXPECT_EQ(Shown(title).right(position - 1),
              QByteArray("Hi! Welcome to the demo").left(position - 1));
}

TEST_F(TitleScreen, LowColourDepthWarnsOnlyBelowSixteenBits)
{
    ScriptedPrompts prompts;
    for (int depth : {16, 24, 32}) {
        SetScreenDepthSource([depth] { return depth; });
        CheckColorDepth();
    }
    EXPECT_TRUE(prompts.Warnings.isEmpty());
    SetScreenDepthSource([] { return 8; });
    CheckColorDepth();
    EXPECT_EQ(prompts.Warnings, QStringList{DepthWarning});
}

TEST_F(TitleScreen, StartStopsTheMarqueeWarnsAndCloses)
{
    ScriptedPrompts prompts;
    SetScreenDepthSource([] { return 8; });
    title.show();
    auto* start = title.findChild<TColorButton*>(QStringLiteral("ColorButton1"));
    ASSERT_NE(start, nullptr);
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Return);
    EXPECT_FALSE(title.SuperTimer1->Enabled());
    EXPECT_EQ(prompts.Warnings, QStringList{DepthWarning});
    EXPECT_FALSE(title.isVisible());
}

TEST_F(TitleScreen, OnlyStartCloses)
{
    title.show();
    QTest::keyClick(&title, Qt::Key_Escape);
    EXPECT_TRUE(title.isVisible());
    title.close();
    EXPECT_TRUE(title.isVisible());
}

TEST(RunTitleScreen, ReleasesTheWindowAfterItsModalRun)
{
    ScriptedPrompts prompts;
    SetScreenDepthSource([] { return 32; });
    bool seen = false;
    QTimer::singleShot(200, [&seen] {
        seen = frmTitle != nullptr && frmTitle->isVisible();
        if (auto* start = frmTitle
                              ? frmTitle->findChild<TColorButton*>(QStringLiteral("ColorButton1"))
                              : nullptr)
            QTest::keyClick(start, Qt::Key_Space);
    });
    RunTitleScreen(nullptr);
    SetScreenDepthSource({});
    EXPECT_TRUE(seen);
    EXPECT_EQ(frmTitle, nullptr);
    EXPECT_TRUE(prompts.Warnings.isEmpty());
}
