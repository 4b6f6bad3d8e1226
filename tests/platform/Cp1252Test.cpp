#include "platform/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(static_cast<char>(byte));
    const QString text = FromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(ToCp1252(text), all);
}

TEST(Cp1252, HighControlRangeMapsToWindowsCharacters)
{
    EXPECT_EQ(FromCp1252("\x80"), QString(QChar(0x20AC)));  // euro sign
    EXPECT_EQ(FromCp1252("\x85"), QString(QChar(0x2026)));  // ellipsis
    EXPECT_EQ(FromCp1252("\x8A"), QString(QChar(0x0160)));  // S caron
    EXPECT_EQ(FromCp1252("\x93\x94"), QString::fromUtf16(u"\u201C\u201D"));
    EXPECT_EQ(FromCp1252("\x99"), QString(QChar(0x2122)));  // trade mark
    EXPECT_EQ(FromCp1252("\x9F"), QString(QChar(0x0178)));  // Y diaeresis
    EXPECT_EQ(ToCp1252(QString::fromUtf16(u"\u20AC\u2014\u017E")), QByteArray("\x80\x97\x9E"));
}

TEST(Cp1252, LatinOneHalfIsUnchanged)
{
    EXPECT_EQ(FromCp1252("v2\xDF"), QString::fromUtf16(u"v2\u00DF"));
    EXPECT_EQ(ToCp1252(QString::fromUtf16(u"\u00E9\u00FF\u00A0")), QByteArray("\xE9\xFF\xA0"));
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach)
{
    // A C1 control that Windows-1252 puts elsewhere, a Cyrillic letter, and a character
    // outside the basic plane (two UTF-16 units, still one character).
    EXPECT_EQ(ToCp1252(QString::fromUtf16(u"a\u0080b\u0416c\U0001F600d")), QByteArray("a?b?c?d"));
}
