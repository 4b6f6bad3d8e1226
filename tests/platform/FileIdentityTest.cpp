#include "platform/FileIdentity.h"

#include "tests/platform/TempFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class FileIdentity : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(dir.path()).mkpath("maps/deeper"));
        WriteBytes(Path("maps/m1.KVX"), "map");
        WriteBytes(Path("maps/m2.KVX"), "map");
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

TEST_F(FileIdentity, OnePathSpelledInManyWaysIsOneFile)
{
    const QString map = Path("maps/m1.KVX");
    EXPECT_TRUE(SameFile(map, map));
    EXPECT_TRUE(SameFile(map, Path("maps/./deeper/../m1.KVX")));
    EXPECT_TRUE(SameFile(map, Path("maps//m1.KVX")));
    EXPECT_FALSE(SameFile(map, Path("maps/m2.KVX"))) << "equal bytes, another file";
    EXPECT_FALSE(SameFile(map, Path("maps/m1.kvx"))) << "letter case tells files apart here";
}

TEST_F(FileIdentity, LinksAreSeenThrough)
{
    const QString map = Path("maps/m1.KVX");
    ASSERT_TRUE(QFile::link(map, Path("symbolic.KVX")));
    ASSERT_TRUE(QFile::link(Path("symbolic.KVX"), Path("chain.KVX")));
    ASSERT_TRUE(QFile::link(Path("maps"), Path("folder")));
    ASSERT_EQ(
        ::link(QFile::encodeName(map).constData(), QFile::encodeName(Path("hard.KVX")).constData()),
        0);

    for (const char* name : {"symbolic.KVX", "chain.KVX", "folder/m1.KVX", "hard.KVX"}) {
        EXPECT_TRUE(SameFile(Path(name), map)) << name;
        EXPECT_TRUE(SameFile(map, Path(name))) << name;
    }
    EXPECT_FALSE(SameFile(Path("folder/m2.KVX"), map));
}

TEST_F(FileIdentity, ANameNotYetWrittenIsPlacedInItsResolvedFolder)
{
    ASSERT_TRUE(QFile::link(Path("maps"), Path("folder")));
    EXPECT_TRUE(SameFile(Path("folder/new.BMP"), Path("maps/new.BMP")));
    EXPECT_FALSE(SameFile(Path("folder/new.BMP"), Path("maps/m1.KVX")));
    EXPECT_TRUE(SameFile(Path("nowhere/a/../new.BMP"), Path("nowhere/new.BMP")));
    EXPECT_FALSE(SameFile(Path("nowhere/new.BMP"), Path("elsewhere/new.BMP")));
}

}  // namespace
