#include "tools/ToolOptions.h"

#include <gtest/gtest.h>

namespace {

const ToolDescription Tool{QStringLiteral("gridcrafter-test"), QStringLiteral("usage: gridcrafter-test A B\n"),
                           2, {QStringLiteral("game")}};

ToolCommandLine Parse(const QStringList& arguments) { return ParseToolCommandLine(arguments, Tool); }

TEST(ToolOptions, MistakesEndTheRunWithTheUsageAndStatusTwo)
{
    const QList<QStringList> mistakes = {
        {"--verbose", "a", "b"}, {"-x", "a", "b"}, {"a", "b", "--game"}, {"a"}, {"a", "b", "c"}, {}};
    for (const QStringList& arguments : mistakes) {
        const ToolCommandLine line = Parse(arguments);
        EXPECT_EQ(line.ExitStatus, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(line.Message.endsWith(Tool.Usage)) << line.Message.toStdString();
    }
    EXPECT_TRUE(Parse({"--verbose", "a", "b"}).Message.startsWith("gridcrafter-test: Unknown option 'verbose'."));
}

TEST(ToolOptions, ArgumentsAndValuesInAnyOrder)
{
    for (const QStringList& arguments :
         {QStringList{"--game", "g", "a", "b"}, QStringList{"a", "--game=g", "b"}, QStringList{"a", "b", "--game", "g"}}) {
        const ToolCommandLine line = Parse(arguments);
        EXPECT_FALSE(line.ExitStatus) << arguments.join(' ').toStdString();
        EXPECT_EQ(line.Arguments, QStringList({"a", "b"}));
        EXPECT_EQ(line.Values.value("game"), "g");
    }
    const ToolCommandLine plain = Parse({"a", "--", "--version"});
    EXPECT_FALSE(plain.ExitStatus);
    EXPECT_EQ(plain.Arguments, QStringList({"a", "--version"})) << "after --, a dash starts no option";
    EXPECT_FALSE(plain.Values.contains("game"));
    EXPECT_EQ(Parse({"-", "b"}).Arguments, QStringList({"-", "b"}));
}

TEST(ToolOptions, ALeastNumberOfArgumentsTakesAnyMore)
{
    ToolDescription files = Tool;
    files.Arguments = 1;
    files.MoreArguments = true;
    EXPECT_EQ(ParseToolCommandLine({}, files).ExitStatus, 2);
    EXPECT_EQ(ParseToolCommandLine({"a"}, files).Arguments, QStringList({"a"}));
    EXPECT_EQ(ParseToolCommandLine({"a", "b", "c"}, files).Arguments, QStringList({"a", "b", "c"}));
}

}  // namespace
