#pragma once
// Shows the main window as a user starts it, and types at it, for window tests.

#include "app/Main.h"
#include "graphics/SpriteLibrary.h"
#include "tests/app/StartPresser.h"

#include <gtest/gtest.h>
#include <QString>
#include <QStringList>
#include <QTest>
#include <memory>

// Makes window the main window (frmMain) and shows it past the title screen, until the sprites
// are ready or an error was shown in errors.
inline void ShowMainWindow(std::unique_ptr<TfrmMain>& window, const QStringList& errors)
{
    window = std::make_unique<TfrmMain>();
    frmMain = window.get();
    StartPresser presser;
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(QTest::qWaitFor([&errors] { return SpriteLibraryReady() || !errors.isEmpty(); }));
}

// A key pressed at the widget of window that has the focus.
inline void PressKey(const QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(window.focusWidget(), key, modifiers);
}

// Each character of keys typed at the widget of window that has the focus.
inline void TypeKeys(const QWidget& window, const QString& keys)
{
    for (const QChar c : keys)
        QTest::keyClick(window.focusWidget(), c.toLatin1());
}
