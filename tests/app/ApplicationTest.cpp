#include "app/Application.h"
#include "app/Hints.h"
#include "platform/BusyCursor.h"
#include "platform/Errors.h"
#include "tests/core/QtPrinters.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QFont>
#include <QFontInfo>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <stdexcept>

namespace {

class DefaultErrorHandlerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetExceptionDisplay([this](const QString& text) { shown << text; });
    }
    void TearDown() override { SetExceptionDisplay(nullptr); }

    QStringList shown;
};

TEST_F(DefaultErrorHandlerTest, ShowsWhatAHandlerThrowsAndTheLoopGoesOn)
{
    bool after = false;
    QTimer::singleShot(0, [] { throw GcError(QStringLiteral("Cannot open file C:\\Map.KVX")); });
    QTimer::singleShot(0, [] { throw std::runtime_error("bad allocation"); });
    QTimer::singleShot(0, [&] { after = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return after; }));
    EXPECT_EQ(shown, QStringList({"Cannot open file C:\\Map.KVX", "bad allocation"}));
}

TEST_F(DefaultErrorHandlerTest, TheBusyCursorComesBackWhenACommandFails)
{
    QTimer::singleShot(0, [] {
        BusyCursor busy;
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
        throw GcError(QStringLiteral("Bitmap image is not valid"));
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(Application, TitleAndStandInsForTheLayoutFonts)
{
    EXPECT_EQ(QCoreApplication::applicationName(), "Gridcraft");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_EQ(QFontInfo(QFont("MS Sans Serif")).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont("Arial")).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont("Times New Roman")).family(), "Liberation Serif");
    EXPECT_EQ(QFontInfo(QFont("Impact")).family(), "Liberation Sans Narrow");
}

TEST(Hints, TheLongPartFollowsTheFirstBar)
{
    EXPECT_EQ(GetLongHint("Shows all road tiles"), "Shows all road tiles");
    EXPECT_EQ(GetLongHint("Reload all sprites|"), "");
    EXPECT_EQ(GetLongHint("Patience :-)|"), "");
    EXPECT_EQ(GetLongHint("short|long|more"), "long|more");
    EXPECT_EQ(GetLongHint(""), "");
}

TEST(Hints, AControlWithoutHintTakesItsNearestParentsHint)
{
    QWidget outer;
    outer.setStatusTip("outer|Outer hint");
    QWidget middle(&outer);
    QWidget inner(&middle);
    EXPECT_EQ(WidgetHint(&inner), "outer|Outer hint");
    middle.setStatusTip("Middle hint");
    EXPECT_EQ(WidgetHint(&inner), "Middle hint");
    EXPECT_EQ(WidgetHint(nullptr), "");
}

TEST(Hints, AnEntryThatOpensASubmenuHasTheMenusHint)
{
    QMenu menu;
    menu.setStatusTip("Create a brand-new grass map.");
    EXPECT_EQ(ActionHint(menu.menuAction()), "Create a brand-new grass map.");
    QAction entry;
    entry.setStatusTip("Print the current map");
    EXPECT_EQ(ActionHint(&entry), "Print the current map");
}

}  // namespace
