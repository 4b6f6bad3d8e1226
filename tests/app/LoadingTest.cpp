#include "app/Loading.h"
#include "graphics/SpriteLibrary.h"
#include "settings/Settings.h"
#include "tests/graphics/SyntheticSheets.h"
#include "tests/support/GameFolder.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <limits>

namespace {

TEST(LoadingWindow, IsLaidOutAsABorderlessBannerWithABar)
{
    TfrmLoading window;
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window.size(), QSize(456, 67));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Korvane"));

    const auto* bevel = window.findChild<QFrame*>(QStringLiteral("Bevel1"));
    ASSERT_NE(bevel, nullptr);
    EXPECT_EQ(bevel->geometry(), QRect(0, 0, 457, 69));
    EXPECT_EQ(bevel->frameShadow(), QFrame::Raised);

    auto* label = window.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->geometry(), QRect(4, 4, 446, 43));
    EXPECT_EQ(label->text(), QStringLiteral("Loading Sprites, please wait..."));
    label->ensurePolished();
    EXPECT_EQ(label->font().pixelSize(), 35);
    EXPECT_TRUE(label->font().bold());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 128, 0));

    const auto* bar = window.findChild<QProgressBar*>(QStringLiteral("Bar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(4, 48, 449, 16));
    EXPECT_EQ(bar->toolTip(), QStringLiteral("Patience :-)"));
    EXPECT_EQ(window.Position(), 0);
    EXPECT_EQ(window.Maximum(), 100);
}

TEST(LoadingWindow, StepsThatPassTheMaximumFillTheBar)
{
    TfrmLoading window;
    window.SetMaximum(10);
    window.Step(4);
    EXPECT_EQ(window.Position(), 4);
    window.Step(std::numeric_limits<int>::max());
    EXPECT_EQ(window.Position(), 10);
}

TEST(LoadingWindow, IsShownWhileTheSpritesLoadAndReleasedAfterwards)
{
    const GameFolder game;
    EffectSpriteCount = 5;
    MechSpriteCount = 4;
    GroundSpriteCount = 16;
    SpriteDir = QStringLiteral("..\\Sprites\\");
    PlainSheets().WriteTo(game.SpritesDir());

    QPointer<TfrmLoading> shown;
    bool visibleWhileStepping = true;
    int lastValue = -1;
    int maximum = -1;
    SetSpriteProgressFactory([&] {
        std::unique_ptr<SpriteProgress> window = ShowLoadingWindow();
        shown = dynamic_cast<TfrmLoading*>(window.get());
        auto* bar = shown->findChild<QProgressBar*>(QStringLiteral("Bar"));
        QObject::connect(bar, &QProgressBar::valueChanged, [&, bar](int value) {
            visibleWhileStepping = visibleWhileStepping && shown->isVisible();
            lastValue = value;
            maximum = bar->maximum();
        });
        return window;
    });
    LoadSpriteLibrary();
    SetSpriteProgressFactory(nullptr);

    EXPECT_EQ(lastValue, 68);
    EXPECT_EQ(maximum, 68);
    EXPECT_TRUE(visibleWhileStepping);
    EXPECT_TRUE(shown.isNull());
    FreeSpriteLibrary();
}

}  // namespace
