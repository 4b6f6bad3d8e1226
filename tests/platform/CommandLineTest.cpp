#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace {

const CommandLineDescription Tool{QStringLiteral("gridcrafter-test"),
                                  QStringLiteral("usage: gridcrafter-test A B\n"),
                                  2,
                                  2,
                                  {QStringLiteral("game")}};

ParsedCommandLine Parse(const QStringList& arguments) { return ParseCommandLine(arguments, Tool); }

TEST(CommandLine, MistakesEndTheRunWithTheUsageAndStatusTwo)
{
    const QList<QStringList> mistakes = {{"--verbose", "a", "b"}, {"-x", "a", "b"},
                                         {"a", "b", "--game"},    {"a"},
                                         {"a", "b", "c"},         {}};
    for (const QStringList& arguments : mistakes) {
        const ParsedCommandLine line = Parse(arguments);
        EXPECT_EQ(line.ExitStatus, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(line.Message.endsWith(Tool.Usage)) << line.Message.toStdString();
    }
    EXPECT_TRUE(Parse({"--verbose", "a", "b"})
                    .Message.startsWith("gridcrafter-test: Unknown option 'verbose'."));
}

TEST(CommandLine, ArgumentsAndValuesInAnyOrder)
{
    for (const QStringList& arguments :
         {QStringList{"--game", "g", "a", "b"}, QStringList{"a", "--game=g", "b"},
          QStringList{"a", "b", "--game", "g"}}) {
        const ParsedCommandLine line = Parse(arguments);
        EXPECT_FALSE(line.ExitStatus) << arguments.join(' ').toStdString();
        EXPECT_EQ(line.Arguments, QStringList({"a", "b"}));
        EXPECT_EQ(line.Values.value("game"), "g");
    }
    const ParsedCommandLine plain = Parse({"a", "--", "--version"});
    EXPECT_FALSE(plain.ExitStatus);
    EXPECT_EQ(plain.Arguments, QStringList({"a", "--version"}))
        << "after --, a dash starts no option";
    EXPECT_FALSE(plain.Values.contains("game"));
    EXPECT_EQ(Parse({"-", "b"}).Arguments, QStringList({"-", "b"}));
}

TEST(CommandLine, TheNumberOfArgumentsMayBeARangeOrOpenAbove)
{
    CommandLineDescription files = Tool;
    files.LeastArguments = 1;
    files.MostArguments = AnyNumberOfArguments;
    EXPECT_EQ(ParseCommandLine({}, files).ExitStatus, 2);
    EXPECT_EQ(ParseCommandLine({"a"}, files).Arguments, QStringList({"a"}));
    EXPECT_EQ(ParseCommandLine({"a", "b", "c"}, files).Arguments, QStringList({"a", "b", "c"}));

    CommandLineDescription optional = Tool;
    optional.LeastArguments = 0;
    optional.MostArguments = 1;
    EXPECT_FALSE(ParseCommandLine({}, optional).ExitStatus);
    EXPECT_TRUE(ParseCommandLine({}, optional).Arguments.isEmpty());
    EXPECT_EQ(ParseCommandLine({"--game", "g", "a"}, optional).Arguments, QStringList({"a"}));
    const ParsedCommandLine two = ParseCommandLine({"a", "b"}, optional);
    EXPECT_EQ(two.ExitStatus, 2);
    EXPECT_EQ(two.Message, Tool.Usage);
}

TEST(CommandLine, FlagsTakeNoValue)
{
    CommandLineDescription flagged = Tool;
    flagged.FlagOptions = {QStringLiteral("symmetry")};
    const ParsedCommandLine line = ParseCommandLine({"a", "--symmetry", "b"}, flagged);
    EXPECT_FALSE(line.ExitStatus);
    EXPECT_EQ(line.Flags, QStringList({"symmetry"}));
    EXPECT_EQ(line.Arguments, QStringList({"a", "b"}));
    EXPECT_TRUE(ParseCommandLine({"a", "b"}, flagged).Flags.isEmpty());
    EXPECT_EQ(ParseCommandLine({"a", "b", "--symmetry=yes"}, flagged).ExitStatus, 2);
    EXPECT_EQ(ParseCommandLine({"a", "b", "--symmetry"}, Tool).ExitStatus, 2);
}

}  // namespace
