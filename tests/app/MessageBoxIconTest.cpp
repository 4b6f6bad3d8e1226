// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The icons of the editor's message boxes, drawn for the device pixels of the screen: the
// style draws its icons once, 32 pixels wide, and scaled up smoothly they blur.

#include "app/Application.h"
#include "app/MessagePrompts.h"
#include "tests/app/ScaleFactor.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMessageBox>
#include <QStyle>
#include <QTimer>
#include <functional>
#include <optional>

namespace {

struct ShownIcon {
    QPixmap Pixmap;
    QImage Plain;  // the style's icon in plain pixels
    qreal Ratio = 0;
};

// The icon of the box that show brings up; the box is closed at once.
ShownIcon IconOfTheBox(const std::function<void()>& show)
{
    ShownIcon shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown.Pixmap = box->iconPixmap();
        shown.Ratio = box->devicePixelRatioF();
        const int size = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box);
        const QStyle::StandardPixmap kinds[] = {
            QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxInformation,
            QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxQuestion};
        // The kind whose plain icon the box shows, at any ratio.
        for (const QStyle::StandardPixmap kind : kinds) {
            const QImage plain =
                box->style()->standardIcon(kind).pixmap(QSize(size, size), 1.0).toImage();
            if (!BlendedPixel(shown.Pixmap.toImage(), plain, plain.rect()))
                shown.Plain = plain;
        }
        box->done(QMessageBox::Cancel);
    });
    show();
    return shown;
}

TEST(MessageBoxIcon, EveryBoxShowsItsIconDrawnForTheDevicePixels)
{
    MessagePrompts prompts;
    const std::pair<const char*, std::function<void()>> boxes[] = {
        {"warning", [&] { prompts.Warning("A warning"); }},
        {"information", [&] { prompts.Information("A notice"); }},
        {"question", [&] { prompts.AskYesNo("A question?"); }},
        {"question with Cancel", [&] { prompts.AskYesNoCancel("A question?"); }},
        {"error", [] { ShowException("An error"); }},
    };
    for (const auto& [kind, show] : boxes) {
        SCOPED_TRACE(kind);
        const ShownIcon icon = IconOfTheBox(show);
        ASSERT_GT(icon.Ratio, 0) << "no box showed";
        EXPECT_EQ(icon.Pixmap.devicePixelRatio(), icon.Ratio);
        ASSERT_FALSE(icon.Plain.isNull()) << "the icon is none of the style's, sharply drawn";
        EXPECT_EQ(icon.Pixmap.size(), icon.Plain.size() * icon.Ratio);
    }
}

TEST(MessageBoxIcon, EveryBoxShowsItsIconDrawnForTheDevicePixelsAtEveryScaleFactor)
{
    for (const char* factor : {"1.5", "2"}) {
        const QString failures = FailuresAtScaleFactor(
            "MessageBoxIcon.EveryBoxShowsItsIconDrawnForTheDevicePixels", factor);
        EXPECT_TRUE(failures.isEmpty()) << "at scale factor " << factor << ":\n"
                                        << failures.toStdString();
    }
}

}  // namespace
