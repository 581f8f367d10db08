// The command line: path first, options after it, the 256-byte stop rule; --version and --help.
#include "app/CommandLine.h"
#include "app/InfoOption.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(CommandLine, PathThenTypeAndHeaderOptions) {
    const CommandLine line = CommandLine::parse({"/data/a.txt", "-t1", "-h"});
    EXPECT_TRUE(line.hasPath);
    EXPECT_EQ(line.path, "/data/a.txt");
    EXPECT_TRUE(line.header);
    EXPECT_EQ(line.typeOption, TypeComma);
}

TEST(CommandLine, FirstArgumentIsAlwaysThePathEvenWhenItLooksLikeAnOption) {
    const CommandLine line = CommandLine::parse({"-h", "/data/a.csv"});
    EXPECT_TRUE(line.hasPath);
    EXPECT_EQ(line.path, "-h");
    EXPECT_FALSE(line.header);
    EXPECT_EQ(line.typeOption, TypeNone);
}

TEST(CommandLine, OptionsAreExactAndTheLastTypeWins) {
    EXPECT_EQ(CommandLine::parse({"a", "-T1"}).typeOption, TypeNone);
    EXPECT_FALSE(CommandLine::parse({"a", "-H"}).header);
    EXPECT_EQ(CommandLine::parse({"a", "-t1", "-t3"}).typeOption, TypeTabNoQuotes);
    EXPECT_EQ(CommandLine::parse({"a", "-t3", "-t2"}).typeOption, TypeTab);
    EXPECT_EQ(CommandLine::parse({"a", "-t4", "x", "-t"}).typeOption, TypeNone);
}

TEST(CommandLine, LongArgumentStopsParsing) {
    const std::string longArg(257, 'x');
    const CommandLine second = CommandLine::parse({"a.csv", longArg, "-t1", "-h"});
    EXPECT_TRUE(second.hasPath);
    EXPECT_EQ(second.path, "a.csv");
    EXPECT_EQ(second.typeOption, TypeNone);
    EXPECT_FALSE(second.header);

    const CommandLine first = CommandLine::parse({longArg, "-t1"});
    EXPECT_FALSE(first.hasPath);
    EXPECT_EQ(first.typeOption, TypeNone);

    // Exactly 256 bytes is still an argument.
    const std::string limit(256, 'y');
    EXPECT_EQ(CommandLine::parse({limit, "-h"}).path, limit);
    EXPECT_TRUE(CommandLine::parse({limit, "-h"}).header);
}

TEST(CommandLine, NoArgumentsMeansNoFile) {
    const CommandLine line = CommandLine::parse({});
    EXPECT_FALSE(line.hasPath);
    EXPECT_FALSE(line.header);
}

TEST(InfoOption, VersionAndHelpOnlyAsTheSoleArgumentAndWhenNoSuchFileExists) {
    EXPECT_EQ(InfoOption::reply({"--version"}, "1.52"), "vexil 1.52\n");
    const auto usage = InfoOption::reply({"--help"}, "1.52");
    ASSERT_TRUE(usage.has_value());
    EXPECT_EQ(usage->rfind("Usage: vexil [FILE [-h] [-t1|-t2|-t3]]\n", 0), 0u);
    EXPECT_EQ(InfoOption::reply({}, "1.52"), std::nullopt);
    EXPECT_EQ(InfoOption::reply({"--version", "-h"}, "1.52"), std::nullopt);
    EXPECT_EQ(InfoOption::reply({"a.csv", "--version"}, "1.52"), std::nullopt);
    EXPECT_EQ(InfoOption::reply({"-version"}, "1.52"), std::nullopt);
    EXPECT_EQ(InfoOption::reply({"--Help"}, "1.52"), std::nullopt);

    // A file of that name is a table to open, as every first argument is.
    TempHome home;
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(home.path());
    home.write("--version", "a,b\n");
    const auto withFile = InfoOption::reply({"--version"}, "1.52");
    const auto help = InfoOption::reply({"--help"}, "1.52");
    std::filesystem::current_path(before);
    EXPECT_EQ(withFile, std::nullopt);
    EXPECT_TRUE(help.has_value());
    EXPECT_TRUE(CommandLine::parse({"--version"}).hasPath);
}
