// The recovery folder: file names that tell their editor, what a look finds (the abandoned
// newest first, those of running editors apart, junk named), moving junk aside, and which
// other editors have unsaved changes to a file.

#include "editor/RecoveryFolder.h"

#include "platform/Errors.h"
#include "tests/core/QtPrinters.h"
#include "tests/editor/RecoveryFiles.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

TEST(RecoveryFolder, LiesInTheStateFolder)
{
    const ScopedEnvironment state("XDG_STATE_HOME", QByteArray("/state/k"));
    EXPECT_EQ(RecoveryFolder(), "/state/k/gridcrafter/recovery");
}

TEST(RecoveryFolder, AFileNameTellsItsEditor)
{
    const ProcessIdentity self = ThisProcess();
    EXPECT_EQ(RecoveryFileOwner(RecoveryFileName(self)), self);
    EXPECT_EQ(RecoveryFileName({"1b2c-3d", 42, 7}), "42-7-1b2c-3d.recovery");
    for (const char* name :
         {"42-7-1b2c-3d.recovery.unreadable", "42-7-.recovery", "0-7-ab.recovery",
          "-42-7-ab.recovery", "42-7-AB.recovery", "42-x-ab.recovery", "map.recovery",
          "99999999999999999999-1-ab.recovery"})
        EXPECT_FALSE(RecoveryFileOwner(name)) << name;
}

class RecoveryFolderContentsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Folder() const { return dir.filePath("recovery"); }
    static QStringList Names(const std::vector<FoundRecovery>& found)
    {
        QStringList names;
        for (const FoundRecovery& recovery : found)
            names << recovery.Recovery.Name;
        return names;
    }
};

TEST_F(RecoveryFolderContentsTest, AMissingFolderHoldsNothing)
{
    const RecoveryFolderContents contents = ReadRecoveryFolder(Folder());
    EXPECT_TRUE(contents.Abandoned.empty() && contents.Running.empty() &&
                contents.Unreadable.isEmpty());
}

TEST_F(RecoveryFolderContentsTest, SortsAbandonedNewestFirstAndKeepsRunningEditorsApart)
{
    const RunningChild other;
    WriteRecoveryFile(Folder(), DeadEditor(11), RecoveryOf("/maps/older", 5));
    WriteRecoveryFile(Folder(), DeadEditor(12), RecoveryOf("/maps/newest", 50));
    WriteRecoveryFile(Folder(), DeadEditor(13), RecoveryOf("/maps/middle", 20));
    WriteRecoveryFile(Folder(), ThisProcess(), RecoveryOf("this editor's", 60));
    WriteRecoveryFile(Folder(), other.Identity(), RecoveryOf("another editor's", 70));
    // Of no editor the name tells: a copy the user made, say.
    QFile::copy(QDir(Folder()).filePath(RecoveryFileName(DeadEditor(11))),
                QDir(Folder()).filePath("copy.recovery"));
    // Not named as a recovery at all.
    WriteRecoveryFile(Folder(), DeadEditor(14), RecoveryOf("aside", 90));
    QFile::rename(QDir(Folder()).filePath(RecoveryFileName(DeadEditor(14))),
                  QDir(Folder()).filePath("x.recovery.unreadable"));

    const RecoveryFolderContents contents = ReadRecoveryFolder(Folder());
    EXPECT_EQ(Names(contents.Abandoned),
              (QStringList{"/maps/newest", "/maps/middle", "/maps/older", "/maps/older"}));
    QStringList running = Names(contents.Running);
    running.sort();
    EXPECT_EQ(running, (QStringList{"another editor's", "this editor's"}));
    EXPECT_TRUE(contents.Unreadable.isEmpty());
    EXPECT_EQ(contents.Abandoned[0].Path,
              QDir(Folder()).filePath(RecoveryFileName(DeadEditor(12))));
    EXPECT_EQ(contents.Abandoned[0].Recovery, RecoveryOf("/maps/newest", 50));
}

TEST_F(RecoveryFolderContentsTest, JunkIsNamedUnlessARunningEditorOwnsIt)
{
    const RunningChild other;
    const QByteArray good = EncodeMapRecovery(RecoveryOf("m", 1));
    const QString shortFile = WriteRecoveryFile(Folder(), DeadEditor(21), good.chopped(1));
    const QString empty = WriteRecoveryFile(Folder(), DeadEditor(22), QByteArray());
    const QString huge = WriteRecoveryFile(Folder(), DeadEditor(23), good.repeated(60));
    WriteRecoveryFile(Folder(), other.Identity(), QByteArray("a newer editor's, perhaps"));

    const RecoveryFolderContents contents = ReadRecoveryFolder(Folder());
    QStringList unreadable = contents.Unreadable;
    unreadable.sort();
    QStringList expected{shortFile, empty, huge};
    expected.sort();
    EXPECT_EQ(unreadable, expected);
    EXPECT_TRUE(contents.Abandoned.empty());
    EXPECT_TRUE(contents.Running.empty());
}

TEST_F(RecoveryFolderContentsTest, JunkMovesAsideUnderAFreeName)
{
    const QString path = WriteRecoveryFile(Folder(), DeadEditor(31), QByteArray("junk"));
    QFile::copy(path, path + ".unreadable");
    EXPECT_EQ(MoveRecoveryAside(path), path + ".unreadable-2");
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(ReadRecoveryFolder(Folder()).Unreadable.isEmpty());
    try {
        MoveRecoveryAside(path);
        ADD_FAILURE() << "a missing file was moved";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().startsWith("Cannot move " + path)) << error.Text().toStdString();
    }
}

TEST_F(RecoveryFolderContentsTest, OtherRunningEditorsWithUnsavedChangesToAFileAreNamed)
{
    const RunningChild first;
    const RunningChild second;
    QTemporaryDir maps;
    const QString map = maps.filePath("m.KVX");
    QFile(map).open(QIODevice::WriteOnly);
    WriteRecoveryFile(Folder(), first.Identity(), RecoveryOf(map, 1, map));
    // The same file by another name.
    WriteRecoveryFile(Folder(), second.Identity(), RecoveryOf("x", 2, maps.path() + "/./m.KVX"));
    WriteRecoveryFile(Folder(), ThisProcess(), RecoveryOf(map, 3, map));
    WriteRecoveryFile(Folder(), DeadEditor(41), RecoveryOf(map, 4, map));

    std::vector<qint64> expected{first.Identity().Pid, second.Identity().Pid};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(EditorsWithUnsavedChangesTo(Folder(), map), expected);
    EXPECT_TRUE(EditorsWithUnsavedChangesTo(Folder(), maps.filePath("other.KVX")).empty());
}

}  // namespace
