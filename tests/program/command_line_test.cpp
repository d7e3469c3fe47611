// The command line, read GNU style; and the program's answers to --help,
// --version and a line it cannot use, given before anything starts.
#include "game/command_line.h"
#include "tests/program/tervane_process.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

CommandLine Parse(std::initializer_list<const char*> arguments)
{
    return ParseCommandLine(std::span<const char* const>(arguments.begin(), arguments.size()));
}

TEST(CommandLineTest, OptionsGiveTheirModeAndFiles)
{
    EXPECT_EQ(Parse({}).options.mode, LaunchMode::Normal);
    EXPECT_EQ(Parse({}).action, CommandLineAction::Run);

    const CommandLine record = Parse({"--record", "run.tvr"});
    EXPECT_EQ(record.options.mode, LaunchMode::Record);
    EXPECT_EQ(record.options.replayFile, "run.tvr");

    const CommandLine play = Parse({"--frame-digests=out.txt", "--play=run.tvr"});
    EXPECT_EQ(play.action, CommandLineAction::Run);
    EXPECT_EQ(play.options.mode, LaunchMode::Play);
    EXPECT_EQ(play.options.replayFile, "run.tvr");
    EXPECT_EQ(play.options.digestFile, "out.txt");

    EXPECT_EQ(Parse({"--timedemo", "--odd-name.tvr"}).options.replayFile, "--odd-name.tvr")
        << "a value is taken as it stands";
    EXPECT_EQ(Parse({"--play", "a", "--help"}).action, CommandLineAction::ShowHelp);
    const CommandLine last = Parse({"--play-last", "--frame-digests", "out.txt"});
    EXPECT_EQ(last.options.mode, LaunchMode::Play);
    EXPECT_TRUE(last.options.playLast);
    EXPECT_EQ(Parse({"--version"}).action, CommandLineAction::ShowVersion);
}

TEST(CommandLineTest, LinesItCannotUseAreRefusedWithTheReason)
{
    const struct {
        std::initializer_list<const char*> arguments;
        const char* error;
    } cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"run.tvr"}, "unexpected argument 'run.tvr'"},
        {{"-p"}, "unexpected argument '-p'"},
        {{"--play"}, "option '--play' needs a file name"},
        {{"--play="}, "option '--play' needs a file name"},
        {{"--help=yes"}, "option '--help' takes no value"},
        {{"--play", "a", "--timedemo", "b"}, "exclude each other"},
        {{"--record", "a", "--record", "b"}, "exclude each other"},
        {{"--play-last", "--play", "a"}, "exclude each other"},
        {{"--play-last=a"}, "option '--play-last' takes no value"},
        {{"--frame-digests", "out"}, "--frame-digests needs --play, --play-last or --timedemo"},
        {{"--record", "a", "--frame-digests", "out"}, "--frame-digests needs"},
    };
    for (const auto& c : cases) {
        const CommandLine line = Parse(c.arguments);
        EXPECT_EQ(line.action, CommandLineAction::Refuse) << *c.arguments.begin();
        EXPECT_NE(line.error.find(c.error), std::string::npos) << line.error;
    }
}

TEST(CommandLineTest, TheProgramAnswersHelpVersionAndBadLinesBeforeStarting)
{
    TemporaryFolder folder;
    const TervaneRun help = RunTervaneProgram({"--help"}, folder);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, UsageText());
    EXPECT_EQ(help.err, "");

    const TervaneRun version = RunTervaneProgram({"--version"}, folder);
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, VersionText() + "\n");

    const TervaneRun bad = RunTervaneProgram({"--play", "a", "--record", "b"}, folder);
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "tervane: --record, --play, --play-last and --timedemo exclude each other\n" + UsageText());
    EXPECT_TRUE(fs::is_empty(folder.Path())) << "no settings file, no replay";
}

}  // namespace
