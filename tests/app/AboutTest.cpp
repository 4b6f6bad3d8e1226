#include "app/About.h"

#include "controls/ColorButton.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QTest>

namespace {

QString LabelText(const QWidget& window, const char* name)
{
    const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

void ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

}  // namespace

TEST(About, VersionLabelReadsV2SharpSOnceShown)
{
    TfrmAbout about;
    EXPECT_EQ(LabelText(about, "lblVersion"), "v1.0");
    about.show();
    EXPECT_EQ(LabelText(about, "lblVersion"), QString::fromUtf16(u"v2\u00DF"));
    EXPECT_EQ(LabelText(about, "Label1"), "Gridcrafter");
    EXPECT_EQ(about.windowTitle(), "About Gridcrafter");
    EXPECT_EQ(about.size(), QSize(269, 324));
    for (const char* name : {"Label8", "Label9", "Label2", "Label3", "Label4", "Label5", "Label6",
                             "Label7", "Label10", "Label11", "Label12"})
        EXPECT_FALSE(LabelText(about, name).isEmpty()) << name;
}

TEST(About, GreenButtonWithBevelUnderlinedKeyAndNoFocusRectangle)
{
    TfrmAbout about;
    ShowActive(about);
    auto* button = about.findChild<TColorButton*>(QStringLiteral("ColorButton1"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), "&OK");
    EXPECT_EQ(button->geometry(), QRect(96, 292, 75, 25));
    EXPECT_TRUE(button->Style().Contains(bsShowKey));
    EXPECT_FALSE(button->Style().Contains(bsShowFocus));
    EXPECT_TRUE(button->hasFocus());
    const QImage face = button->grab().toImage();
    EXPECT_EQ(face.pixelColor(0, 0), QColor(64, 192, 64));
    EXPECT_EQ(face.pixelColor(74, 24), QColor(0, 64, 0));
    EXPECT_EQ(face.pixelColor(10, 12), QColor(0, 128, 0));
}

TEST(About, OnlyTheButtonCloses)
{
    TfrmAbout about;
    ShowActive(about);
    QTest::keyClick(&about, Qt::Key_Escape);
    about.close();
    EXPECT_TRUE(about.isVisible());
    EXPECT_FALSE(about.windowFlags() & Qt::WindowCloseButtonHint);
    auto* button = about.findChild<TColorButton*>(QStringLiteral("ColorButton1"));
    ASSERT_NE(button, nullptr);
    QTest::keyClick(button, Qt::Key_O, Qt::AltModifier);
    EXPECT_FALSE(about.isVisible());
}
