#include "platform/Profile.h"

#include "platform/Errors.h"
#include "tests/platform/TempFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

namespace {

class ProfileWriteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString Dir() const { return dir_.path(); }
    QString File() const { return dir_.path() + "/Test.INI"; }
    void Write(const QByteArray& section, const QByteArray& key, const QByteArray& value) const
    {
        WritePrivateProfileString(section, key, value, File());
    }
    QByteArray Read(const QByteArray& section, const QByteArray& key) const
    {
        return GetPrivateProfileString(section, key, "<none>", File());
    }

private:
    QTemporaryDir dir_;
};

QString ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const GcError& error) {
        return error.Text();
    }
    return QString();
}

}  // namespace

TEST_F(ProfileWriteTest, CreatesFileSectionsAndKeysWithCrLf)
{
    Write("General", "Version", "v2\xDF");
    Write("SpriteAmount", "EffectSprites", "5");
    Write("SpriteAmount", "MechSprites", "4");
    Write("General", "Extra", "x");
    EXPECT_EQ(ReadBytes(File()),
              QByteArray("[General]\r\nVersion=v2\xDF\r\nExtra=x\r\n\r\n"
                         "[SpriteAmount]\r\nEffectSprites=5\r\nMechSprites=4\r\n"));
}

TEST_F(ProfileWriteTest, NewKeyGoesAfterTheLastKeyOfItsSectionBeforeTrailingBlankLines)
{
    WriteBytes(File(), "[A]\nOne=1\n; note\nstray\n\n\n[B]\nTwo=2\n");
    Write("a", "Three", "3");
    EXPECT_EQ(ReadBytes(File()),
              QByteArray("[A]\nOne=1\n; note\nstray\nThree=3\r\n\n\n[B]\nTwo=2\n"));
}

TEST_F(ProfileWriteTest, NewKeyInAnEmptySectionFollowsItsHeader)
{
    WriteBytes(File(), "[A]\n\n[B]\nTwo=2");
    Write("A", "One", "1");
    Write("B", "Three", "3");
    EXPECT_EQ(ReadBytes(File()), QByteArray("[A]\nOne=1\r\n\n[B]\nTwo=2\r\nThree=3\r\n"));
}

TEST_F(ProfileWriteTest, NewSectionIsAppendedAtTheEnd)
{
    WriteBytes(File(), "; head\n[A]\nOne=1");
    Write("B", "Two", "2");
    EXPECT_EQ(ReadBytes(File()), QByteArray("; head\n[A]\nOne=1\r\n\r\n[B]\r\nTwo=2\r\n"));
}

TEST_F(ProfileWriteTest, ReplacingAValueKeepsEveryOtherByte)
{
    const QByteArray before =
        "; Korvane\r\n[General]\r\n  version = 'old' \t\r\nVersion=second\r\n"
        "[Directories]\nSprites=..\\Sprites\\\n";
    WriteBytes(File(), before);
    Write("GENERAL", "Version", "v2\xDF");
    EXPECT_EQ(ReadBytes(File()),
              QByteArray("; Korvane\r\n[General]\r\n  version = v2\xDF \t\r\n"
                         "Version=second\r\n[Directories]\nSprites=..\\Sprites\\\n"));
    Write("Directories", "Sprites", "");
    EXPECT_EQ(Read("Directories", "Sprites"), "");
    EXPECT_TRUE(ReadBytes(File()).endsWith("[Directories]\nSprites=\n"));
}

TEST_F(ProfileWriteTest, WritingTheSameValueAgainChangesNothing)
{
    const QByteArray before = "[A]\nKey = same\n";
    WriteBytes(File(), before);
    Write("A", "Key", "same");
    EXPECT_EQ(ReadBytes(File()), before);
}

TEST_F(ProfileWriteTest, WhatTheWriterWroteReadsBackTheSame)
{
    const QByteArray values[] = {"v2\xDF", "..\\Audio\\Default\\", "", "a=b", "16", "\x80\x9F\xFF"};
    int n = 0;
    for (const QByteArray& value : values) {
        Write("Section" + QByteArray::number(n % 2), "Key" + QByteArray::number(n), value);
        ++n;
    }
    n = 0;
    for (const QByteArray& value : values) {
        EXPECT_EQ(Read("section" + QByteArray::number(n % 2), "KEY" + QByteArray::number(n)),
                  value);
        ++n;
    }
}

TEST_F(ProfileWriteTest, LineBreaksInNamesOrValuesAreRefused)
{
    WriteBytes(File(), "[A]\nKey=1\n");
    EXPECT_EQ(ErrorOf([&] { Write("A", "Key", "2\r\n[Forged]\r\nX=1"); }),
              "Unable to write to " + File());
    EXPECT_EQ(ErrorOf([&] { Write("A\nB", "Key", "2"); }), "Unable to write to " + File());
    EXPECT_EQ(ReadBytes(File()), QByteArray("[A]\nKey=1\n"));
}

TEST_F(ProfileWriteTest, AFailedWriteNamesTheFileAsGiven)
{
    WriteBytes(Dir() + "/plain", "not a folder");
    const QString windowsName =
        QDir::toNativeSeparators(Dir()).replace('/', '\\') + "\\plain\\Korvane.INI";
    EXPECT_EQ(ErrorOf([&] { WritePrivateProfileString("A", "Key", "1", windowsName); }),
              "Unable to write to " + windowsName);
    // Reading through the same name quietly gives the fallback.
    EXPECT_EQ(GetPrivateProfileString("A", "Key", "none", windowsName), "none");
}

TEST_F(ProfileWriteTest, AnUnwritableFolderRaisesAndLeavesTheFileAlone)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: folder permissions do not stop writes";
    WriteBytes(File(), "[A]\nKey=1\n");
    ASSERT_TRUE(QFile::setPermissions(Dir(), QFile::ReadOwner | QFile::ExeOwner));
    const QString error = ErrorOf([&] { Write("A", "Key", "2"); });
    QFile::setPermissions(Dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(error, "Unable to write to " + File());
    EXPECT_EQ(ReadBytes(File()), QByteArray("[A]\nKey=1\n"));
}

TEST_F(ProfileWriteTest, AnUnreadableExistingFileIsNotOverwritten)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: file permissions do not stop reads";
    WriteBytes(File(), "[A]\nKey=1\nOther=keep\n");
    ASSERT_TRUE(QFile::setPermissions(File(), QFile::WriteOwner));
    EXPECT_EQ(ErrorOf([&] { Write("A", "Key", "2"); }), "Unable to write to " + File());
    QFile::setPermissions(File(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(ReadBytes(File()), QByteArray("[A]\nKey=1\nOther=keep\n"));
}

TEST_F(ProfileWriteTest, TheFileIsFoundWithoutRegardToCase)
{
    WriteBytes(Dir() + "/korvane.ini", "[A]\nKey=1\n");
    WritePrivateProfileString("A", "Key", "2", Dir() + "/KORVANE.INI");
    EXPECT_EQ(ReadBytes(Dir() + "/korvane.ini"), QByteArray("[A]\nKey=2\n"));
    EXPECT_FALSE(QFile::exists(Dir() + "/KORVANE.INI"));
}
