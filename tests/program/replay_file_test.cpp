// The replay file: what the writer writes reads back frame for frame, and
// every kind of bad file is refused by the program with one line naming the
// file and status 2, before anything starts and without touching the
// settings.
#include "game/replay_file.h"
#include "tests/program/tervane_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// What a writer puts in memory.
class WrittenReplay {
public:
    WrittenReplay() : file_(open_memstream(&data_, &size_)), writer(file_) {}
    ~WrittenReplay()
    {
        std::fclose(file_);
        std::free(data_);
    }

    Bytes Contents()
    {
        std::fflush(file_);
        return {data_, data_ + size_};
    }

private:
    char* data_ = nullptr;
    size_t size_ = 0;
    std::FILE* file_;

public:
    ReplayWriter writer;
};

ReplayHeader Header()
{
    return {"1.0.0", -123456, 1, 4200};
}

std::vector<ReplayFrame> PlayAll(const Replay& replay)
{
    std::vector<ReplayFrame> frames;
    ReplayCursor cursor(replay);
    ReplayFrame frame;
    while (cursor.Next(frame))
        frames.push_back(frame);
    return frames;
}

Bytes Concat(Bytes head, const Bytes& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// A valid header, so a case can vary only what follows it.
Bytes HeaderBytes()
{
    WrittenReplay written;
    written.writer.WriteHeader(Header());
    return written.Contents();
}

TEST(ReplayFileTest, WhatIsWrittenReadsBackFrameForFrame)
{
    const QV_KeyEvent press[] = {{115, 1}};
    const QV_KeyEvent release[] = {{115, 0}, {32, 1}, {511, 0}};
    WrittenReplay written;
    ASSERT_TRUE(written.writer.WriteHeader(Header()));
    for (int32_t frame = 0; frame < 300; ++frame) {
        std::span<const QV_KeyEvent> keys;
        if (frame == 0)
            keys = press;
        if (frame == 2)
            keys = release;
        const JoystickReading joystick = frame >= 100 && frame < 200 ? JoystickReading{-1, 1, 1} : JoystickReading{};
        ASSERT_TRUE(written.writer.WriteFrame(frame, keys, joystick));
    }
    ASSERT_TRUE(written.writer.Finish(300));
    const Bytes bytes = written.Contents();
    EXPECT_LT(bytes.size(), 60u) << "idle frames cost almost nothing";

    Replay replay;
    ASSERT_EQ(ParseReplay(bytes, replay), "");
    EXPECT_EQ(replay.header.gameVersion, "1.0.0");
    EXPECT_EQ(replay.header.seed, -123456);
    EXPECT_EQ(replay.header.useKeys, 1);
    EXPECT_EQ(replay.header.hiScore, 4200);
    EXPECT_FALSE(replay.cutShort);
    const std::vector<ReplayFrame> frames = PlayAll(replay);
    ASSERT_EQ(frames.size(), 300u);
    ASSERT_EQ(frames[0].keys.size(), 1u);
    EXPECT_EQ(frames[0].keys[0].symbol, 115);
    EXPECT_TRUE(frames[1].keys.empty());
    ASSERT_EQ(frames[2].keys.size(), 3u);
    EXPECT_EQ(frames[2].keys[2].symbol, 511);
    EXPECT_EQ(frames[2].keys[2].down, 0);
    EXPECT_EQ(frames[99].joystick, JoystickReading{});
    EXPECT_EQ(frames[100].joystick, (JoystickReading{-1, 1, 1}));
    EXPECT_EQ(frames[199].joystick, (JoystickReading{-1, 1, 1}));
    EXPECT_EQ(frames[200].joystick, JoystickReading{});

    // A recorder killed after its last flush: the frames up to the last
    // complete record still play, and the replay says it was cut short.
    Replay cut;
    ASSERT_EQ(ParseReplay(Bytes(bytes.begin(), bytes.end() - 3), cut), "");
    EXPECT_TRUE(cut.cutShort);
    EXPECT_EQ(cut.frameCount, 226) << "the record written at the third flush, frame 225";
    EXPECT_EQ(PlayAll(cut).size(), 226u);
}

TEST(ReplayFileTest, BadFilesAreRefusedWithWhatIsWrong)
{
    const Bytes header = HeaderBytes();
    Bytes newer = header;
    newer[4] = ReplayFormatVersion + 1;
    Bytes negativeHiScore = header;
    negativeHiScore.back() = 0xFF;  // the hi score's top byte
    Bytes badControls = header;
    badControls[badControls.size() - 5] = 7;
    const struct {
        const char* name;
        Bytes bytes;
        const char* error;
    } cases[] = {
        {"empty", {}, "not a Tervane replay"},
        {"wrong magic", Concat({'T', 'V', 'R', 'X'}, Bytes(header.begin() + 4, header.end())), "not a Tervane replay"},
        {"newer format", newer, "made by a newer Tervane"},
        {"format 0", Concat({'T', 'V', 'R', 'P', 0}, {}), "format version 0"},
        {"header cut", Bytes(header.begin(), header.end() - 2), "cut short in its header"},
        {"impossible controls", badControls, "control setting 7"},
        {"negative hi score", negativeHiScore, "impossible hi score"},
        {"frame not after the last", Concat(header, {'F', 1, 0, 'F', 0, 0}), "events out of frame order"},
        {"key beyond the keyboard", Concat(header, {'F', 1, 2, 0x80, 0x08}), "key symbol"},
        {"too many events", Concat(header, {'F', 1, 0x82, 0x40}), "more key events"},
        {"joystick byte", Concat(header, {'F', 1, 1, 0x3F}), "joystick"},
        {"unknown record", Concat(header, {'X'}), "unknown record"},
        {"count before last frame", Concat(header, {'F', 5, 0, 'E', 3}), "frame count"},
        {"data after the end", Concat(header, {'E', 1, 0}), "data after the end"},
        {"number too long", Concat(header, {'F', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0}), "number longer"},
        {"record cut", Concat(header, {'F', 1, 2, 0xE6}), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Replay replay;
        const std::string error = ParseReplay(c.bytes, replay);
        if (*c.error == '\0') {
            EXPECT_TRUE(error.empty() && replay.cutShort) << error;
            continue;
        }
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(ReplayFileTest, TheProgramRefusesBadReplaysWithOneLineAndStatusTwo)
{
    TemporaryFolder folder;
    std::ofstream(folder / "Tervane.ini", std::ios::binary) << "HiScore = 5000\r\n";
    std::ofstream(folder / "wrong.tvr", std::ios::binary) << "RIFF....WAVE";
    fs::create_directory(folder / "folder.tvr");
    {
        std::ofstream huge(folder / "huge.tvr", std::ios::binary);
        huge.seekp(ReplayMaxFileSize);
        huge.put('\0');
    }
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{"--play", "missing.tvr"}, "tervane: missing.tvr: No such file or directory\n"},
        {{"--timedemo", "wrong.tvr"}, "tervane: wrong.tvr: not a Tervane replay\n"},
        {{"--play", "folder.tvr"}, "tervane: folder.tvr: not a regular file\n"},
        {{"--timedemo", "huge.tvr"}, "tervane: huge.tvr: larger than a replay can be (64 MiB)\n"},
        {{"--record", "no-such-folder/run.tvr"}, "tervane: no-such-folder/run.tvr: cannot be created: No such file or directory\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[1]);
        const TervaneRun run = RunTervaneProgram(c.arguments, folder);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(FileText(folder / "Tervane.ini"), "HiScore = 5000\r\n");
}

TEST(ReplayFileTest, AReplayCutShortPlaysToItsLastCompleteFrameAndSaysSo)
{
    TemporaryFolder folder;
    const std::string whole = FileText(std::string(GOLDEN_REPLAYS) + "/game_over.tvr");
    const Bytes cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(whole.size() / 2));
    std::ofstream(folder / "cut.tvr", std::ios::binary).write(reinterpret_cast<const char*>(cut.data()), static_cast<std::streamsize>(cut.size()));
    Replay replay;
    ASSERT_EQ(ParseReplay(cut, replay), "");
    ASSERT_TRUE(replay.cutShort);

    const TervaneRun run = RunTervaneProgram({"--timedemo", "cut.tvr"}, folder);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find(' ')), std::to_string(replay.frameCount)) << run.out;
    EXPECT_EQ(run.err, "tervane: cut.tvr: cut short after " + std::to_string(replay.frameCount) +
                           " frames; the recording was stopped before its end\n");
}

} // namespace
