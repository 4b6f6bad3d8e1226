// The main window with recovery files and a watched map file: the question after the title
// screen and before the command line's map, with its three answers; a map changed on disk
// with and without unsaved edits, replaced by a rename too, told in the hint panel; and no
// recovery file left once the window closed.

#include "app/Application.h"
#include "app/Main.h"
#include "controls/newstat.h"
#include "core/Catalogue.h"
#include "core/MapModel.h"
#include "core/MapRecovery.h"
#include "editor/RecoveryFolder.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "tests/app/StartPresser.h"
#include "tests/app/TestSheets.h"
#include "tests/core/QtPrinters.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <cstdio>
#include <memory>

namespace {

class RecoveryWindow : public ::testing::Test {
protected:
    GameFolder game;
    ScriptedPrompts prompts;
    QStringList errors;
    std::unique_ptr<TfrmMain> window;

    void SetUp() override
    {
        WriteTestSheets(game.SpritesDir());
        game.WriteSettings("");
        SetExceptionDisplay([this](const QString& text) { errors << text; });
    }
    void TearDown() override
    {
        window.reset();
        FreeSpriteLibrary();
        SetExceptionDisplay(nullptr);
    }

    void StartUp(const QString& mapFromCommandLine = {})
    {
        window = std::make_unique<TfrmMain>();
        frmMain = window.get();
        window->LoadAfterStartUp(mapFromCommandLine);
        StartPresser presser;
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return SpriteLibraryReady() || !errors.isEmpty(); }));
        // The question and the command line's map come after the sprites.
        QTest::qWait(50);
        prompts.Warnings.clear();
    }

    QString MapPath(const QString& name) const { return QDir(game.EditorDir()).filePath(name); }
    static QStringList RecoveryFiles()
    {
        return QDir(RecoveryFolder()).entryList({"*.recovery"}, QDir::Files);
    }
    QString Panel(int index) const
    {
        return window->findChild<TAStatusBar*>("StatusBar")->PanelText(index);
    }
    static QRgb Shown(int x, int y) { return MapImage().pixel(GroundPixel(x, y)) & 0xFFFFFFu; }
    static QRgb Ground(TerrainCode code)
    {
        return GroundColour(static_cast<int>(code)).rgb() & 0xFFFFFFu;
    }

    // A map with cell (1, 1) of that ground, written as a file.
    static QByteArray MapOf(TerrainCode ground)
    {
        MapGridType grid{};
        for (std::size_t x = 0; x < MapSize; ++x)
            for (std::size_t y = 0; y < MapSize; ++y) {
                grid[x][y].X = static_cast<std::uint8_t>(x + 1);
                grid[x][y].Y = static_cast<std::uint8_t>(y + 1);
            }
        grid[0][0].Ground = static_cast<std::uint8_t>(ground);
        return {reinterpret_cast<const char*>(&grid), sizeof grid};
    }
    static void Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    // Left by an editor of an earlier boot; returns its path.
    QString WriteAbandonedRecovery(const QString& name, TerrainCode ground) const
    {
        QDir().mkpath(RecoveryFolder());
        QString path =
            QDir(RecoveryFolder())
                .filePath(RecoveryFileName({"00000000-0000-0000-0000-000000000000", 7, 9}));
        Write(path, EncodeMapRecovery({MapOf(ground), name, name, 4, 5,
                                       QDateTime::currentDateTimeUtc().addSecs(-60)}));
        return path;
    }
};

class RecoveryQuestion : public RecoveryWindow, public ::testing::WithParamInterface<Answer> {};

TEST_P(RecoveryQuestion, ComesAfterTheTitleScreenAndBeforeTheCommandLinesMap)
{
    const QString lost = MapPath("lost.KVX");
    const QString abandoned = WriteAbandonedRecovery(lost, tcLava);
    const QString named = MapPath("named.KVX");
    Write(named, MapOf(tcWater2));
    prompts.AnswerYesNoCancel(GetParam());
    if (GetParam() == Answer::Yes)
        prompts.AnswerYesNo(false);  // keep the restored map, not the command line's
    StartUp(named);

    ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    ASSERT_GE(prompts.Questions.size(), 1);
    EXPECT_TRUE(prompts.Questions[0].startsWith(
        "Gridcrafter was not closed properly. Restore the unsaved changes to " + lost + " from "))
        << prompts.Questions[0].toStdString();
    if (GetParam() == Answer::Yes) {
        EXPECT_EQ(prompts.Questions.size(), 2) << "then the command line's map asks first";
        EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : " + lost);
        EXPECT_EQ(Shown(1, 1), Ground(tcLava));
        EXPECT_EQ(CursorX, 4);
        EXPECT_EQ(CursorY, 5);
        EXPECT_TRUE(MapModified);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(abandoned); }));
        EXPECT_EQ(RecoveryFiles(), QStringList{RecoveryFileName(ThisProcess())});
    } else {
        EXPECT_EQ(prompts.Questions.size(), 1);
        EXPECT_EQ(window->windowTitle(), "Korvane Gridcrafter : " + named);
        EXPECT_EQ(Shown(1, 1), Ground(tcWater2));
        QTest::qWait(50);
        EXPECT_EQ(QFileInfo::exists(abandoned), GetParam() == Answer::Cancel);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, RecoveryQuestion,
                         ::testing::Values(Answer::Yes, Answer::No, Answer::Cancel),
                         [](const ::testing::TestParamInfo<Answer>& answered) {
                             return answered.param == Answer::Yes  ? "Yes"
                                    : answered.param == Answer::No ? "No"
                                                                   : "Cancel";
                         });

TEST_F(RecoveryWindow, AMapChangedOnDiskIsLoadedAgainAndTheHintPanelSaysSo)
{
    const QString path = MapPath("watched.KVX");
    Write(path, MapOf(tcWater0));
    StartUp(path);
    ASSERT_EQ(Shown(1, 1), Ground(tcWater0));

    Write(path, MapOf(tcLava));
    ASSERT_TRUE(QTest::qWaitFor([] { return Shown(1, 1) == Ground(tcLava); }));
    EXPECT_EQ(Panel(1), "Changed by another program and loaded again (Undo goes back): " + path);
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_FALSE(MapModified);
}

TEST_F(RecoveryWindow, WithUnsavedEditsAReplaceByARenameAsksAndNoKeepsTheEdits)
{
    const QString path = MapPath("watched.KVX");
    Write(path, MapOf(tcWater0));
    StartUp(path);
    window->activateWindow();
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    QTest::keyClick(window->focusWidget(), 'r');
    ASSERT_EQ(Cell(1, 1).Ground, tcRough);

    prompts.AnswerYesNo(false);
    Write(MapPath("replacement"), MapOf(tcLava));
    ASSERT_EQ(::rename(QFile::encodeName(MapPath("replacement")).constData(),
                       QFile::encodeName(path).constData()),
              0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.Questions.isEmpty(); }));
    EXPECT_EQ(
        prompts.Questions,
        QStringList{path + " was changed by another program. Load it and lose your changes?"});
    EXPECT_EQ(Cell(1, 1).Ground, tcRough);
    EXPECT_TRUE(MapModified);

    prompts.AnswerFileDialog(path);
    prompts.AnswerYesNo(true);
    window->Save1Click();
    EXPECT_EQ(prompts.Questions.last(),
              path + " was changed by another program since you loaded it. Overwrite it?");
    EXPECT_FALSE(MapModified);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(static_cast<unsigned char>(saved.readAll()[8]), tcRough);
}

TEST_F(RecoveryWindow, EditsAreKeptUntilTheWindowClosesAlsoAfterNoToTheQuestion)
{
    StartUp();
    window->activateWindow();
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    QTest::keyClick(window->focusWidget(), 'l');
    ASSERT_TRUE(QTest::qWaitFor([] { return !RecoveryFiles().isEmpty(); }, 10000));

    prompts.AnswerYesNoCancel(Answer::No);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(RecoveryFiles().isEmpty());
    window.reset();
    EXPECT_TRUE(RecoveryFiles().isEmpty());
}

}  // namespace
