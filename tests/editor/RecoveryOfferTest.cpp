// Recovery at start-up: each abandoned recovery asked about, newest first, with its three
// answers; junk moved aside with a warning; a running editor's file never touched.

#include "editor/RecoveryOffer.h"

#include "core/MapFile.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/RecoveryKeeper.h"
#include "tests/core/FreshMap.h"
#include "tests/editor/RecoveryFiles.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class RecoveryOfferTest : public FreshMap {
protected:
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    QStringList notices;
    RecoveryKeeper keeper{dir.filePath("recovery"),
                          [this](const QString& text) { notices << text; }};
    int redraws = 0;

    QString Write(qint64 pid, const MapRecovery& recovery)
    {
        return WriteRecoveryFile(keeper.Folder(), DeadEditor(pid), recovery);
    }
    QString Write(qint64 pid, const QByteArray& bytes)
    {
        return WriteRecoveryFile(keeper.Folder(), DeadEditor(pid), bytes);
    }
    void Offer()
    {
        OfferRecoveries(keeper, [this] { ++redraws; });
        keeper.WaitForDisk();
    }
    static QString Question(const MapRecovery& recovery)
    {
        return "Gridcrafter was not closed properly. Restore the unsaved changes to " +
               recovery.Name + " from " +
               recovery.Time.toLocalTime().toString("yyyy-MM-dd HH:mm:ss") + "?";
    }
    QStringList Left() const { return QDir(keeper.Folder()).entryList(QDir::Files, QDir::Name); }
};

TEST_F(RecoveryOfferTest, NothingToRecoverAsksNothing)
{
    Offer();
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_EQ(redraws, 0);
    EXPECT_FALSE(MapModified);
}

TEST_F(RecoveryOfferTest, YesBringsTheNewestBackUnsavedWithItsNameFileAndCursor)
{
    const MapRecovery newest =
        RecoveryOf(dir.filePath("canyon.KVX"), 30, dir.filePath("canyon.KVX"));
    const QString older = Write(1, RecoveryOf("NewMap", 10));
    const QString newer = Write(2, newest);
    prompts.AnswerYesNoCancel(Answer::Yes);
    Offer();

    EXPECT_EQ(prompts.Questions, QStringList{Question(newest)});
    EXPECT_EQ(GridBytes(), newest.Map);
    EXPECT_EQ(MapName, dir.filePath("canyon.KVX"));
    EXPECT_EQ(OpenMapFile(), dir.filePath("canyon.KVX"));
    EXPECT_EQ(CursorX, 2);
    EXPECT_EQ(CursorY, 3);
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(redraws, 1);
    // This editor keeps it now; the older one waits for another start.
    QStringList expected{QFileInfo(keeper.OwnFile()).fileName(), QFileInfo(older).fileName()};
    expected.sort();
    EXPECT_EQ(Left(), expected);
    EXPECT_FALSE(QFileInfo::exists(newer));
}

TEST_F(RecoveryOfferTest, NoDiscardsItAndAsksAboutTheNextCancelKeepsTheRest)
{
    const MapRecovery first = RecoveryOf("first", 40);
    const MapRecovery second = RecoveryOf("second", 30);
    const MapRecovery third = RecoveryOf("third", 20);
    const QString discarded = Write(1, first);
    const QString kept = Write(2, second);
    const QString untouched = Write(3, third);
    const QByteArray before = GridBytes();
    prompts.AnswerYesNoCancel(Answer::No);
    prompts.AnswerYesNoCancel(Answer::Cancel);
    Offer();

    EXPECT_EQ(prompts.Questions, (QStringList{Question(first), Question(second)}));
    EXPECT_EQ(GridBytes(), before);
    EXPECT_EQ(MapName, "NewMap");
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(redraws, 0);
    EXPECT_FALSE(QFileInfo::exists(discarded));
    EXPECT_TRUE(QFileInfo::exists(kept));
    EXPECT_TRUE(QFileInfo::exists(untouched));

    prompts.AnswerYesNoCancel(Answer::Cancel);
    Offer();
    EXPECT_EQ(prompts.Questions.last(), Question(second)) << "asked again at the next start";
}

TEST_F(RecoveryOfferTest, JunkIsMovedAsideWithAWarningAndARunningEditorsFileLeftAlone)
{
    const RunningChild other;
    const QString junk = Write(1, QByteArray("not a recovery"));
    const QString cut = Write(2, EncodeMapRecovery(RecoveryOf("cut", 1)).chopped(10));
    const QString others =
        WriteRecoveryFile(keeper.Folder(), other.Identity(), RecoveryOf("in use", 1));
    const QByteArray othersBytes = ReadAll(others);
    Offer();

    EXPECT_TRUE(prompts.Questions.isEmpty());
    QStringList warnings = prompts.Warnings;
    warnings.sort();
    QStringList expected{junk + " is not a recovery file of Gridcrafter; it was moved aside to " +
                             junk + ".unreadable",
                         cut + " is not a recovery file of Gridcrafter; it was moved aside to " +
                             cut + ".unreadable"};
    expected.sort();
    EXPECT_EQ(warnings, expected);
    EXPECT_EQ(ReadAll(junk + ".unreadable"), "not a recovery");
    EXPECT_FALSE(QFileInfo::exists(junk));
    EXPECT_EQ(ReadAll(others), othersBytes);
    EXPECT_FALSE(MapModified);
}

}  // namespace
