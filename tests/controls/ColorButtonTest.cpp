#include "controls/ColorButton.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QColor Green(0, 128, 0);

// Hard-edged text, so that every caption pixel has exactly the colour it was drawn in.
QFont PlainFont()
{
    QFont font(QStringLiteral("DejaVu Sans"), 10);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void MakePlain(TColorButton& button, const QString& caption = QString())
{
    button.SetColor(Green);
    button.setFont(PlainFont());
    button.SetCaption(caption);
}

QImage Look(TColorButton& button)
{
    return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void GiveFocusFlag(TColorButton& button, QEvent::Type type)
{
    QFocusEvent event(type, Qt::TabFocusReason);
    QApplication::sendEvent(&button, &event);
}

// Pixels where the two looks differ.
QRect Difference(const QImage& a, const QImage& b, int* count = nullptr)
{
    QRect area;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                area |= QRect(x, y, 1, 1);
                ++n;
            }
    if (count)
        *count = n;
    return area;
}

QRect AreaOf(const QImage& image, const std::function<bool(QColor)>& wanted, const QRect& within)
{
    QRect area;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (wanted(image.pixelColor(x, y)))
                area |= QRect(x, y, 1, 1);
    return area;
}

// Everything that is not the face colour inside the bevel.
QRect InkArea(const QImage& image, int inset)
{
    const QRect inside = image.rect().adjusted(inset, inset, -inset, -inset);
    return AreaOf(
        image, [](QColor c) { return c != Green; }, inside);
}

struct ClickCounter {
    int clicks = 0;
    void Attach(TColorButton& button)
    {
        button.OnClick = [this, &button](QObject* sender) {
            EXPECT_EQ(sender, &button);
            ++clicks;
        };
    }
};

}  // namespace

TEST(ColorButton, StartsWithItsDefaults)
{
    TColorButton button;
    EXPECT_EQ(button.size(), QSize(75, 25));
    EXPECT_EQ(button.Alignment(), alMiddleCenter);
    EXPECT_EQ(button.BevelStyle(), bbRaised);
    EXPECT_EQ(button.BevelSize(), 2);
    EXPECT_EQ(button.Spacing(), 2);
    EXPECT_EQ(button.Style(), (TButtonStyles{bsCenter, bsShowFocus, bsShowKey}));
    EXPECT_EQ(button.Color(), button.palette().color(QPalette::Button));
    EXPECT_TRUE(button.Picture().isNull());
    EXPECT_TRUE(button.isEnabled());
    EXPECT_TRUE(button.focusPolicy() & Qt::TabFocus);
}

TEST(ColorButton, ShadesMove64AndStayInRange)
{
    EXPECT_EQ(LightShade(Green), QColor(64, 192, 64));
    EXPECT_EQ(DarkShade(Green), QColor(0, 64, 0));
    EXPECT_EQ(LightShade(QColor(250, 200, 10)), QColor(255, 255, 74));
    EXPECT_EQ(DarkShade(QColor(250, 200, 10)), QColor(186, 136, 0));
}

TEST(ColorButton, RaisedBevelIsLightAboveAndDarkBelow)
{
    TColorButton button;
    MakePlain(button);
    const QImage look = Look(button);
    const QColor light(64, 192, 64);
    const QColor dark(0, 64, 0);
    for (const int ring : {0, 1}) {
        EXPECT_EQ(look.pixelColor(ring, 12), light);
        EXPECT_EQ(look.pixelColor(30, ring), light);
        EXPECT_EQ(look.pixelColor(74 - ring, 12), dark);
        EXPECT_EQ(look.pixelColor(30, 24 - ring), dark);
    }
    EXPECT_EQ(look.pixelColor(2, 12), Green);
    EXPECT_EQ(look.pixelColor(37, 12), Green);

    button.SetBevelSize(4);
    EXPECT_EQ(Look(button).pixelColor(3, 12), light);
    button.SetBevelStyle(bbNone);
    EXPECT_EQ(Look(button).pixelColor(0, 12), Green);
}

TEST(ColorButton, FocusRectangleRunsInsideTheSpacing)
{
    TColorButton button;
    MakePlain(button);
    const QImage unfocused = Look(button);
    GiveFocusFlag(button, QEvent::FocusIn);
    int changed = 0;
    // Exclusive of the right and bottom edges: (3, 3) to (72, 22).
    EXPECT_EQ(Difference(unfocused, Look(button), &changed), QRect(QPoint(3, 3), QPoint(71, 21)));
    EXPECT_GT(changed, 60);
    EXPECT_LT(changed, 2 * (69 + 19));  // a dotted outline, not a filled box

    button.SetStyle({bsCenter, bsShowKey});
    EXPECT_EQ(Look(button), unfocused);
    button.SetStyle({bsCenter, bsShowFocus, bsShowKey});
    GiveFocusFlag(button, QEvent::FocusOut);
    EXPECT_EQ(Look(button), unfocused);
}

TEST(ColorButton, DisabledCaptionIsEngravedWithoutFocusRectangle)
{
    TColorButton button;
    MakePlain(button, QStringLiteral("Go"));
    button.setEnabled(false);
    const QImage disabled = Look(button);
    const QRect inside = disabled.rect().adjusted(3, 3, -3, -3);
    const QRect light = AreaOf(
        disabled, [](QColor c) { return c == QColor(64, 192, 64); }, inside);
    const QRect dark = AreaOf(
        disabled, [](QColor c) { return c == QColor(0, 64, 0); }, inside);
    ASSERT_FALSE(dark.isEmpty());
    ASSERT_FALSE(light.isEmpty());
    EXPECT_EQ(light.bottomRight(), dark.bottomRight() + QPoint(1, 1));
    EXPECT_EQ(AreaOf(
                  disabled, [](QColor c) { return c == QColor(0, 0, 0); }, inside),
              QRect());

    GiveFocusFlag(button, QEvent::FocusIn);
    EXPECT_EQ(Look(button), disabled);

    button.setEnabled(true);
    const QImage enabled = Look(button);
    EXPECT_EQ(AreaOf(
                  enabled, [](QColor c) { return c == QColor(0, 64, 0); }, inside),
              QRect());
}

TEST(ColorButton, DisabledButtonIgnoresEveryInput)
{
    QWidget window;
    auto* button = new TColorButton(&window);
    MakePlain(*button, QStringLiteral("&OK"));
    ClickCounter counter;
    counter.Attach(*button);
    window.show();
    QApplication::setActiveWindow(&window);
    button->setEnabled(false);
    const QImage before = Look(*button);

    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_EQ(Look(*button), before);
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_EQ(counter.clicks, 0);
}

TEST(ColorButton, AcceleratorIsUnderlinedOnlyWithShowKey)
{
    TColorButton withKey;
    MakePlain(withKey, QStringLiteral("&OK"));
    TColorButton withoutKey;
    MakePlain(withoutKey, QStringLiteral("&OK"));
    withoutKey.SetStyle({bsCenter, bsShowFocus});
    TColorButton plain;
    MakePlain(plain, QStringLiteral("OK"));

    const QImage underlined = Look(withKey);
    EXPECT_EQ(Look(withoutKey), Look(plain));  // "&" itself is never drawn
    int count = 0;
    const QRect line = Difference(underlined, Look(plain), &count);
    const QFontMetrics metrics(PlainFont());
    const int textLeft = (75 - 8 - metrics.horizontalAdvance(QStringLiteral("OK"))) / 2 + 4;
    const int textTop = (25 - 8 - metrics.height()) / 2 + 4;
    EXPECT_EQ(line,
              QRect(textLeft, textTop + metrics.height(), metrics.horizontalAdvance(u'O'), 1));
    EXPECT_EQ(count, line.width());

    plain.SetStyle({bsCenter, bsShowFocus});
    const QImage noAmpersand = Look(plain);
    plain.SetStyle({bsCenter, bsShowFocus, bsShowKey});
    EXPECT_EQ(Look(plain), noAmpersand);
}

TEST(ColorButton, CaptionStandsWhereItsAlignmentSays)
{
    TColorButton button;
    MakePlain(button, QStringLiteral("Hg"));
    button.resize(120, 70);
    const QFontMetrics metrics(PlainFont());
    const int s = 4;
    const int freeX = 120 - 2 * s - metrics.horizontalAdvance(QStringLiteral("Hg"));
    const int freeY = 70 - 2 * s - metrics.height();
    button.SetAlignment(alTopLeft);
    const QRect topLeft = InkArea(Look(button), 2);
    ASSERT_FALSE(topLeft.isEmpty());
    EXPECT_GE(topLeft.left(), s);
    EXPECT_GE(topLeft.top(), s);

    const struct {
        TAlignment alignment;
        int dx, dy;
    } places[] = {
        {alTopCenter, freeX / 2, 0},        {alTopRight, freeX, 0},
        {alMiddleLeft, 0, freeY / 2},       {alMiddleCenter, freeX / 2, freeY / 2},
        {alMiddleRight, freeX, freeY / 2},  {alBottomLeft, 0, freeY},
        {alBottomCenter, freeX / 2, freeY}, {alBottomRight, freeX, freeY},
    };
    for (const auto& place : places) {
        button.SetAlignment(place.alignment);
        EXPECT_EQ(InkArea(Look(button), 2), topLeft.translated(place.dx, place.dy))
            << place.alignment;
    }
}

TEST(ColorButton, PressedLookDependsOnTheBevelStyle)
{
    TColorButton lowered;
    MakePlain(lowered);
    lowered.SetBevelStyle(bbLowered);
    TColorButton raised;
    MakePlain(raised);
    const QImage raisedUp = Look(raised);
    const QImage loweredUp = Look(lowered);
    EXPECT_NE(raisedUp, loweredUp);

    QTest::mousePress(&lowered, Qt::LeftButton);
    EXPECT_EQ(Look(lowered), raisedUp);
    QTest::mouseRelease(&lowered, Qt::LeftButton);
    EXPECT_EQ(Look(lowered), loweredUp);

    QTest::keyPress(&raised, Qt::Key_Space);
    EXPECT_EQ(Look(raised), loweredUp);
    QTest::keyRelease(&raised, Qt::Key_Space);
    EXPECT_EQ(Look(raised), raisedUp);

    TColorButton flat;
    MakePlain(flat);
    flat.SetBevelStyle(bbNone);
    const QImage flatUp = Look(flat);
    QTest::mousePress(&flat, Qt::LeftButton);
    EXPECT_EQ(Look(flat), flatUp);
    QTest::mouseRelease(&flat, Qt::LeftButton);
}

TEST(ColorButton, ClicksComeFromLeftClicksSpaceAndReturn)
{
    TColorButton button;
    MakePlain(button, QStringLiteral("Start"));
    ClickCounter counter;
    counter.Attach(button);
    int emitted = 0;
    QObject::connect(&button, &TColorButton::Click, [&] { ++emitted; });

    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_EQ(emitted, 1);

    // The right button shows the pressed look but clicks nothing.
    const QImage up = Look(button);
    QTest::mousePress(&button, Qt::RightButton);
    EXPECT_NE(Look(button), up);
    QTest::mouseRelease(&button, Qt::RightButton);
    EXPECT_EQ(Look(button), up);
    EXPECT_EQ(counter.clicks, 1);

    // Released away from the button: no click.
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(counter.clicks, 1);

    QTest::keyClick(&button, Qt::Key_Space);
    EXPECT_EQ(counter.clicks, 2);
    QTest::keyPress(&button, Qt::Key_Space);
    EXPECT_EQ(counter.clicks, 2);  // the click comes with the release
    QTest::keyRelease(&button, Qt::Key_Space);
    EXPECT_EQ(counter.clicks, 3);

    // Return counts on its release alone, wherever it was pressed.
    QTest::keyRelease(&button, Qt::Key_Return);
    EXPECT_EQ(counter.clicks, 4);
    QTest::keyPress(&button, Qt::Key_Return);
    EXPECT_EQ(counter.clicks, 4);
}

TEST(ColorButton, AcceleratorClicksThroughTheWindowAndWhenTyped)
{
    QWidget window;
    auto* button = new TColorButton(&window);
    MakePlain(*button, QStringLiteral("&OK"));
    auto* other = new TColorButton(&window);
    other->move(0, 40);
    ClickCounter counter;
    counter.Attach(*button);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();

    QTest::keyClick(other, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(counter.clicks, 1);
    QTest::keyClick(other, Qt::Key_K, Qt::AltModifier);
    EXPECT_EQ(counter.clicks, 1);

    // The focused button takes its character typed plainly, in either case.
    QTest::keyClick(button, Qt::Key_O);
    QTest::keyClick(button, Qt::Key_O, Qt::ShiftModifier);
    EXPECT_EQ(counter.clicks, 3);
    QTest::keyClick(button, Qt::Key_K);
    EXPECT_EQ(counter.clicks, 3);
}

TEST(ColorButton, BevelSizeAndSpacingAreClamped)
{
    TColorButton button;
    button.SetBevelSize(0);
    EXPECT_EQ(button.BevelSize(), 1);
    button.SetBevelSize(-3);
    EXPECT_EQ(button.BevelSize(), 1);
    button.SetBevelSize(5);
    EXPECT_EQ(button.BevelSize(), 5);
    button.SetSpacing(-5);
    EXPECT_EQ(button.Spacing(), 0);
    button.SetSpacing(3);
    EXPECT_EQ(button.Spacing(), 3);
}

TEST(ColorButton, UnchangedSpacingOrStyleDoesNotRepaint)
{
    TColorButton button;
    button.show();
    QApplication::processEvents();
    int paints = 0;
    struct Counter : QObject {
        int* paints;
        bool eventFilter(QObject*, QEvent* event) override
        {
            *paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    counter.paints = &paints;
    button.installEventFilter(&counter);

    button.SetSpacing(2);
    button.SetStyle({bsCenter, bsShowFocus, bsShowKey});
    QApplication::processEvents();
    EXPECT_EQ(paints, 0);
    button.SetSpacing(4);
    QApplication::processEvents();
    EXPECT_EQ(paints, 1);
}

TEST(ColorButton, AutoSizeFitsThePicture)
{
    TColorButton button;
    button.SetStyle({bsAutoSize, bsCenter});
    EXPECT_EQ(button.size(), QSize(75, 25));  // no picture: size kept
    QPixmap picture(32, 32);
    picture.fill(Qt::red);
    button.SetPicture(picture);
    EXPECT_EQ(button.size(), QSize(36, 36));
    button.SetBevelSize(3);
    EXPECT_EQ(button.size(), QSize(38, 38));
}

TEST(ColorButton, PictureStretchWinsOverCentreWhichWinsOverAlignment)
{
    TColorButton button;
    MakePlain(button);
    button.resize(60, 40);
    button.SetBevelStyle(bbNone);
    QPixmap picture(8, 8);
    picture.fill(Qt::red);
    button.SetPicture(picture);
    const auto redArea = [&] {
        return AreaOf(
            Look(button), [](QColor c) { return c == QColor(255, 0, 0); }, button.rect());
    };
    button.SetAlignment(alTopLeft);
    EXPECT_EQ(redArea(), QRect(26, 16, 8, 8));  // centred
    button.SetStyle({});
    EXPECT_EQ(redArea(), QRect(26, 40 - 4 - 8, 8, 8));  // below, opposite a caption at the top
    button.SetAlignment(alMiddleLeft);
    EXPECT_EQ(redArea(), QRect(60 - 4 - 8, 16, 8, 8));
    button.SetAlignment(alMiddleRight);
    EXPECT_EQ(redArea(), QRect(4, 16, 8, 8));
    button.SetAlignment(alBottomRight);
    EXPECT_EQ(redArea(), QRect(26, 4, 8, 8));
    button.SetStyle({bsStretch, bsCenter});
    EXPECT_EQ(redArea(), QRect(QPoint(4, 4), QPoint(55, 35)));
}
