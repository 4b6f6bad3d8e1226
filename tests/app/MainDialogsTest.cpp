#include "app/About.h"
#include "app/Application.h"
#include "app/Main.h"
#include "app/SysInfo.h"
#include "app/Title.h"
#include "graphics/SpriteLibrary.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Triggers a menu entry of the main window and reports which dialog it showed modally;
// the dialog is closed through its own button handler.
template <typename Dialog>
bool ShowsModally(TfrmMain& window, const char* entry, void (Dialog::*close)())
{
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        modal = dialog != nullptr && dialog->isVisible();
        if (dialog)
            (dialog->*close)();
    });
    auto* action = window.findChild<QAction*>(QString::fromLatin1(entry));
    if (!action)
        return false;
    action->trigger();
    return modal;
}

}  // namespace

TEST(MainWindowDialogs, SystemInfoAndAboutAreMadeAnewAndReleased)
{
    TfrmMain window;
    for (int opening = 0; opening < 2; ++opening) {
        EXPECT_TRUE(ShowsModally<TfrmSysInfo>(window, "Systeminfo1", &TfrmSysInfo::BitBtn1Click));
        EXPECT_TRUE(ShowsModally<TfrmAbout>(window, "About1", &TfrmAbout::ColorButton1Click));
    }
    EXPECT_TRUE(window.findChildren<TfrmSysInfo*>().isEmpty());
    EXPECT_TRUE(window.findChildren<TfrmAbout*>().isEmpty());
}

TEST(MainWindowDialogs, TheTitleScreenRunsModallyBeforeTheEditorStarts)
{
    GameFolder game;  // no sprite sheets: the start-up ends with an error, after the title
    ScriptedPrompts prompts;
    QStringList errors;
    SetExceptionDisplay([&errors](const QString& text) { errors << text; });
    TfrmMain window;
    frmMain = &window;
    bool titleFirst = false;
    QTimer pressStart;
    QObject::connect(&pressStart, &QTimer::timeout, [&] {
        if (!frmTitle || !frmTitle->isVisible())
            return;
        titleFirst = QApplication::activeModalWidget() == frmTitle && errors.isEmpty()
            && prompts.Warnings.isEmpty() && window.windowTitle() == "Korvane Grid Crafter";
        frmTitle->ColorButton1Click();
    });
    pressStart.start(10);
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !errors.isEmpty() || SpriteLibraryReady(); }));
    EXPECT_TRUE(titleFirst);
    EXPECT_EQ(frmTitle, nullptr);
    EXPECT_FALSE(prompts.Warnings.isEmpty()) << "the settings were not loaded after the title";
    SetExceptionDisplay(nullptr);
    FreeSpriteLibrary();
    frmMain = nullptr;
}
