#include "controls/newstat.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPaintEvent>

namespace {

// Counts the paint events and the areas they covered.
class CountingBar : public TAStatusBar {
public:
    int paints = 0;
    QRegion painted;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        painted += event->region();
        TAStatusBar::paintEvent(event);
    }
};

// The main window's bar: 792 wide, "Hex info" 400 and "Hint" filling the rest.
void FillLikeMainWindow(TAStatusBar& bar)
{
    bar.resize(792, 19);
    bar.AddPanel("Hex info", 400);
    bar.AddPanel("Hint", 20);
}

bool HasDarkPixel(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 80)
                return true;
    return false;
}

}  // namespace

TEST(StatusBar, PanelsStandFromTheLeftAndTheLastFillsTheRest)
{
    TAStatusBar bar;
    FillLikeMainWindow(bar);
    ASSERT_EQ(bar.PanelCount(), 2);
    EXPECT_EQ(bar.PanelText(0), "Hex info");
    EXPECT_EQ(bar.PanelText(1), "Hint");
    EXPECT_EQ(bar.PanelWidth(1), 20);
    EXPECT_EQ(bar.PanelRect(0), QRect(0, 0, 400, 19));
    EXPECT_EQ(bar.PanelRect(1), QRect(400, 0, 392, 19));

    bar.resize(1000, 19);
    EXPECT_EQ(bar.PanelRect(0), QRect(0, 0, 400, 19));
    EXPECT_EQ(bar.PanelRect(1), QRect(400, 0, 600, 19));
}

TEST(StatusBar, OutOfRangePanelsAreIgnored)
{
    TAStatusBar bar;
    FillLikeMainWindow(bar);
    bar.SetPanelText(2, "nowhere");
    bar.SetPanelText(-1, "nowhere");
    EXPECT_EQ(bar.PanelText(2), QString());
    EXPECT_EQ(bar.PanelRect(5), QRect());
    EXPECT_EQ(bar.PanelText(0), "Hex info");
}

TEST(StatusBar, SettingAPanelTextRepaintsThatPanelAtOnce)
{
    CountingBar bar;
    FillLikeMainWindow(bar);
    bar.show();
    QApplication::processEvents();
    bar.paints = 0;
    bar.painted = QRegion();

    bar.SetPanelText(1, "Shows all road tiles");
    EXPECT_EQ(bar.PanelText(1), "Shows all road tiles");
    EXPECT_EQ(bar.paints, 1);
    EXPECT_TRUE(bar.painted.boundingRect().left() >= 400);

    bar.SetPanelText(1, "Shows all road tiles");
    EXPECT_EQ(bar.paints, 1);
}

TEST(StatusBar, PaintsEachTextInsideItsPanel)
{
    TAStatusBar bar;
    bar.resize(300, 19);
    bar.AddPanel("", 100);
    bar.AddPanel("", 20);
    const QRect insideSecond = bar.PanelRect(1).adjusted(4, 4, -4, -4);
    EXPECT_FALSE(HasDarkPixel(bar.grab().toImage(), insideSecond));

    bar.SetPanelText(1, "WWWW");
    const QImage image = bar.grab().toImage();
    EXPECT_TRUE(HasDarkPixel(image, insideSecond));
    EXPECT_FALSE(HasDarkPixel(image, bar.PanelRect(0).adjusted(4, 4, -4, -4)));
}

TEST(StatusBar, AcceptsChildWidgets)
{
    TAStatusBar bar;
    FillLikeMainWindow(bar);
    auto* child = new QLabel("x", &bar);
    child->move(410, 2);
    EXPECT_EQ(child->parentWidget(), &bar);
    EXPECT_TRUE(bar.children().contains(child));
}
