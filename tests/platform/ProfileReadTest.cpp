#include "platform/Profile.h"

#include "tests/platform/TempFiles.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

class ProfileReadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString File() const { return dir_.path() + "/Test.INI"; }
    void Write(const QByteArray& bytes) const { WriteBytes(File(), bytes); }
    QByteArray Read(const QByteArray& section, const QByteArray& key,
                    const QByteArray& fallback = "<none>") const
    {
        return GetPrivateProfileString(section, key, fallback, File());
    }

private:
    QTemporaryDir dir_;
};

}  // namespace

TEST_F(ProfileReadTest, MissingFileSectionOrKeyGivesTheFallback)
{
    EXPECT_EQ(Read("General", "Version", "0.0"), "0.0");
    Write("[General]\r\nVersion=1\r\n");
    EXPECT_EQ(Read("Other", "Version"), "<none>");
    EXPECT_EQ(Read("General", "Other"), "<none>");
    EXPECT_EQ(Read("General", "Version"), "1");
}

TEST_F(ProfileReadTest, NamesMatchInAnyLetterCaseAndTheFirstMatchWins)
{
    Write("[general]\nVERSION=first\nversion=second\n[GENERAL]\nVersion=third\nOnly=later\n");
    EXPECT_EQ(Read("General", "Version"), "first");
    EXPECT_EQ(Read("gEnErAl", "vErSiOn"), "first");
    // Only the first matching section is searched.
    EXPECT_EQ(Read("General", "Only"), "<none>");
}

TEST_F(ProfileReadTest, CaseFoldingIsAsciiOnly)
{
    Write(
        "[Stra\xDF"
        "e]\nK\xC4y=1\n");
    EXPECT_EQ(Read("STRA\xDF"
                   "E",
                   "k\xC4Y"),
              "1");
    EXPECT_EQ(Read("Stra\xDF"
                   "e",
                   "K\xE4y"),
              "<none>");
}

TEST_F(ProfileReadTest, BlanksAroundNamesAndValuesAreIgnored)
{
    Write("  [ Sprite Amount ]  \r\n\t Mech Sprites \t=\t 4 2 \t\r\n");
    EXPECT_EQ(Read("Sprite Amount", "Mech Sprites"), "4 2");
    EXPECT_EQ(Read(" Sprite Amount\t", "\tMech Sprites "), "4 2");
}

TEST_F(ProfileReadTest, MatchingQuotesAreRemovedOnce)
{
    Write("[S]\nA=\"quoted\"\nB='single'\nC=\"mixed'\nD=\"\nE=\"\"\"\"\nF=\" padded \"\nG=\"\"\n");
    EXPECT_EQ(Read("S", "A"), "quoted");
    EXPECT_EQ(Read("S", "B"), "single");
    EXPECT_EQ(Read("S", "C"), "\"mixed'");
    EXPECT_EQ(Read("S", "D"), "\"");
    EXPECT_EQ(Read("S", "E"), "\"\"");
    EXPECT_EQ(Read("S", "F"), " padded ");
    EXPECT_EQ(Read("S", "G"), "");
}

TEST_F(ProfileReadTest, ValuesAreCutAt1023Characters)
{
    const QByteArray longValue(5000, 'x');
    Write("[S]\nLong=" + longValue + "\nQuoted=\"" + QByteArray(1023, 'y') +
          "\"\nFits=" + QByteArray(1023, 'z') + "\n");
    EXPECT_EQ(Read("S", "Long"), QByteArray(1023, 'x'));
    EXPECT_EQ(Read("S", "Quoted"), QByteArray(1023, 'y'));
    EXPECT_EQ(Read("S", "Fits"), QByteArray(1023, 'z'));
    EXPECT_EQ(Read("S", "Missing", longValue), QByteArray(1023, 'x'));
}

TEST_F(ProfileReadTest, LineEndsBlankLinesCommentsAndStrayLines)
{
    Write(
        "stray before any section\r\nKey=outside\r\n\r\n[S]\r\n\r\nno equals sign here\r\n"
        "; Key=commented\r\n  ;Key=also "
        "commented\r\nKey=crlf\r\n[T]\nKey=lf\n\n[U]\nEmpty=\nKey=last");
    EXPECT_EQ(Read("S", "Key"), "crlf");
    EXPECT_EQ(Read("T", "Key"), "lf");
    EXPECT_EQ(Read("U", "Key"), "last");
    EXPECT_EQ(Read("U", "Empty"), "");
    EXPECT_EQ(Read("S", "no equals sign here"), "<none>");
}

TEST_F(ProfileReadTest, TheValueRunsFromTheFirstEqualsSign)
{
    Write("[S]\nPath = a=b = c\n[Odd]Name]\nKey=in odd\n");
    EXPECT_EQ(Read("S", "Path"), "a=b = c");
    EXPECT_EQ(Read("Odd]Name", "Key"), "in odd");
}

TEST_F(ProfileReadTest, HugeLinesAndBinaryJunkAreHarmless)
{
    QByteArray junk;
    for (int i = 0; i < 100000; ++i)
        junk.append(static_cast<char>((i * 7919) % 256));
    // A million lines without "=" in the section searched: each line is looked at once.
    QByteArray strayLines;
    for (int i = 0; i < 1000000; ++i)
        strayLines.append("x\n");
    Write(QByteArray(10LL * 1024 * 1024, 'a') + "\n" + junk + "\n[S]\n" + strayLines +
          "Key=found\n" + junk);
    EXPECT_EQ(Read("S", "Key"), "found");
    EXPECT_EQ(Read("S", "Missing"), "<none>");
}
