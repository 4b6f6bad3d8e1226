#include "app/About.h"
#include "app/Application.h"
#include "app/Help.h"
#include "app/Main.h"
#include "app/SysInfo.h"
#include "app/Title.h"
#include "graphics/SpriteLibrary.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>
#include <QTimer>

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
        titleFirst = QApplication::activeModalWidget() == frmTitle && errors.isEmpty() &&
                     prompts.Warnings.isEmpty() && window.windowTitle() == "Korvane Grid Crafter";
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

// The stand-in fonts are not the designed ones: a text that would not fit its designed
// label is narrowed or set smaller instead of being clipped. Those that fit are left alone.
TEST(MainWindowDialogs, EveryLabelTextFitsItsDesignedWidth)
{
    TfrmHelp help;
    TfrmAbout about;
    TfrmTitle title;
    for (QDialog* dialog : std::initializer_list<QDialog*>{&help, &about, &title}) {
        dialog->show();
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            const int width = QFontMetrics(label->font()).horizontalAdvance(label->text());
            EXPECT_LE(width, label->contentsRect().width()) << label->objectName().toStdString();
        }
    }
    const auto* heights = help.findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_NE(heights, nullptr);
    const auto narrowed = [](const QLabel* label) {
        return label->font().stretch() != QFont::AnyStretch &&
               label->font().stretch() < QFont::Unstretched;
    };
    EXPECT_TRUE(narrowed(heights));
    EXPECT_EQ(heights->font().pixelSize(), 16) << "a little narrower is enough";
    const auto* move = help.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(move, nullptr);
    EXPECT_FALSE(narrowed(move));
    EXPECT_EQ(move->font().pixelSize(), 16);
}
