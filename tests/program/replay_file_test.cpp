// The replay file: what the writer writes reads back frame for frame, and
// every kind of bad file is refused by the program with one line naming the
// file and status 2, before anything starts and without touching the
// settings.
#include "game/command_line.h"
#include "game/replay_file.h"
#include "tests/program/tervane_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <sys/stat.h>
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

// A replay of 60 frames of the title pages, quick to play.
void WriteShortReplay(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ReplayWriter writer(file);
    EXPECT_TRUE(writer.WriteHeader({VersionText(), 1, 0, 0}) && writer.Finish(60));
    std::fclose(file);
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

// The recorder writes a record at least every 75 frames from frame 0, so the
// reader takes gaps up to that and no more; and whatever the run began with,
// the header it writes reads back.
TEST(ReplayFileTest, WhatTheRecorderCanWriteReadsBack)
{
    Replay replay;
    ASSERT_EQ(ParseReplay(Concat(HeaderBytes(), {'F', 76, 0, 'F', 75, 0, 'E', 0xE1, 0x01}), replay), "");
    EXPECT_EQ(replay.frameCount, 225);
    ASSERT_EQ(ParseReplay(Concat(HeaderBytes(), {'E', 75}), replay), "");

    for (const ReplayHeader& header : {ReplayHeader{std::string(300, 'v'), 0, 7, -5},
                                       ReplayHeader{"", -1, 0, std::numeric_limits<int32_t>::min()}}) {
        WrittenReplay written;
        ASSERT_TRUE(written.writer.WriteHeader(header) && written.writer.Finish(1));
        ASSERT_EQ(ParseReplay(written.Contents(), replay), "");
        EXPECT_EQ(replay.header.hiScore, 0);
        EXPECT_EQ(replay.header.useKeys, header.useKeys != 0 ? 1 : 0);
    }
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
    Bytes controlsTwo = header;
    controlsTwo[controlsTwo.size() - 5] = 2;
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
        {"controls 2", controlsTwo, "control setting 2"},
        {"joystick byte", Concat(header, {'F', 1, 1, 0x3F}), "joystick"},
        {"joystick byte 0x20", Concat(header, {'F', 1, 1, 0x20}), "joystick"},
        {"unknown record", Concat(header, {'X'}), "unknown record"},
        {"count before last frame", Concat(header, {'F', 5, 0, 'E', 3}), "frame count"},
        {"count at the last frame", Concat(header, {'F', 5, 0, 'E', 4}), "frame count"},
        {"count past the next flush", Concat(header, {'F', 5, 0, 'E', 80}), "frame count"},
        {"2^31 - 1 frames in 37 bytes", Concat(header, {'E', 0xFF, 0xFF, 0xFF, 0xFF, 0x07}), "frame count"},
        {"gap past the first flush", Concat(header, {'F', 77, 0}), "gap of more frames"},
        {"gap past a later flush", Concat(header, {'F', 11, 0, 'F', 76, 0}), "gap of more frames"},
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
        {{"--record", "no-such-folder/run.tvr"},
         "tervane: no-such-folder/run.tvr: cannot be created: No such file or directory\n"},
        // A pipe is never waited on, and a replay is never written over.
        {{"--play", "pipe"}, "tervane: pipe: not a regular file\n"},
        {{"--timedemo", "short.tvr", "--frame-digests", "pipe"},
         "tervane: pipe: cannot be created: a pipe nothing reads from\n"},
        {{"--record", "pipe"}, "tervane: pipe: cannot be created: a pipe nothing reads from\n"},
        {{"--timedemo", "short.tvr", "--frame-digests", "./short.tvr"},
         "tervane: ./short.tvr: cannot be created: it is the replay itself\n"},
    };
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
    WriteShortReplay(folder / "short.tvr");
    const std::string shortReplay = FileText(folder / "short.tvr");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[1]);
        const TervaneRun run = RunTervaneProgram(c.arguments, folder);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(FileText(folder / "Tervane.ini"), "HiScore = 5000\r\n");
    EXPECT_EQ(FileText(folder / "short.tvr"), shortReplay);
}

// Digests that cannot be written whole, to a full device or past the file
// size limit, are said so and end the run with status 1.
TEST(ReplayFileTest, DigestsNotWrittenWholeEndWithStatusOne)
{
    TemporaryFolder folder;
    WriteShortReplay(folder / "short.tvr");
    const TervaneRun full = RunTervaneProgram({"--timedemo", "short.tvr", "--frame-digests", "/dev/full"}, folder);
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "tervane: /dev/full: could not be written whole: No space left on device\n");
    const TervaneRun limited =
        RunTervaneProgram({"--play", "short.tvr", "--frame-digests", "digests.txt"}, folder, 200);
    EXPECT_EQ(limited.status, 1) << "not killed by SIGXFSZ";
    EXPECT_EQ(limited.err, "tervane: digests.txt: could not be written whole: File too large\n");
}

// A reader that leaves early, as `head` does, fails the write; it does not
// kill the game.
TEST(ReplayFileTest, DigestsToAPipeWhoseReaderLeftEndWithStatusOne)
{
    TemporaryFolder folder;
    WriteShortReplay(folder / "short.tvr");
    ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
    const int reader = open((folder / "pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const pid_t child = fork();
    if (child == 0) {
        // Leaves once the game has the pipe open (no data yet, but a writer).
        char byte;
        while (read(reader, &byte, 1) == 0)
            usleep(1000);
        _exit(0);
    }
    close(reader);
    const TervaneRun run = RunTervaneProgram({"--timedemo", "short.tvr", "--frame-digests", "pipe"}, folder);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tervane: pipe: could not be written whole: Broken pipe\n");
}

TEST(ReplayFileTest, DigestsReplaceALongerFileWhole)
{
    TemporaryFolder folder;
    WriteShortReplay(folder / "short.tvr");
    std::ofstream(folder / "digests.txt", std::ios::binary) << std::string(100000, '\n');
    const TervaneRun run = RunTervaneProgram({"--timedemo", "short.tvr", "--frame-digests", "digests.txt"}, folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(FileText(folder / "digests.txt")).size(), 60u);
}

// A replay long only by its size: a megabyte of idle records, the longest gap
// the reader takes, is 26 million frames, 97 hours of --play. Ctrl-C and
// SIGTERM stop watching it at once, as Escape does.
TEST(ReplayFileTest, CtrlCAndSigtermEndALongReplayAtOnce)
{
    TemporaryFolder folder;
    Bytes idle = HeaderBytes();
    for (int record = 0; record < (1 << 20) / 3; ++record)
        idle.insert(idle.end(), {'F', ReplayWriter::FlushFrames, 0});
    std::ofstream(folder / "idle.tvr", std::ios::binary)
        .write(reinterpret_cast<const char*>(idle.data()), static_cast<std::streamsize>(idle.size()));
    for (const char* mode : {"--timedemo", "--play"}) {
        for (const int signal : {SIGINT, SIGTERM}) {
            fs::remove(folder / "digests.txt");
            const pid_t game = StartTervaneProgram({mode, "idle.tvr", "--frame-digests", "digests.txt"}, folder);
            // SDL takes the two signals over before the first frame.
            for (int wait = 0; wait < 24000 && FileText(folder / "digests.txt").empty(); ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            kill(game, signal);
            const TervaneRun run = FinishTervaneProgram(game, folder, std::chrono::seconds(30));
            EXPECT_EQ(run.status, 0) << mode << " " << strsignal(signal);
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(run.out.find(" frames in ") != std::string::npos, std::string(mode) == "--timedemo") << run.out;
        }
    }
}

TEST(ReplayFileTest, AReplayCutShortPlaysToItsLastCompleteFrameAndSaysSo)
{
    TemporaryFolder folder;
    const std::string whole = FileText(std::string(GOLDEN_REPLAYS) + "/game_over.tvr");
    const Bytes cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(whole.size() / 2));
    std::ofstream(folder / "cut.tvr", std::ios::binary)
        .write(reinterpret_cast<const char*>(cut.data()), static_cast<std::streamsize>(cut.size()));
    Replay replay;
    ASSERT_EQ(ParseReplay(cut, replay), "");
    ASSERT_TRUE(replay.cutShort);

    const TervaneRun run = RunTervaneProgram({"--timedemo", "cut.tvr"}, folder);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find(' ')), std::to_string(replay.frameCount)) << run.out;
    EXPECT_EQ(run.err,
              "tervane: cut.tvr: cut short after " + std::to_string(replay.frameCount) +
                  " frames; the recording was stopped before its end\n");
}

}  // namespace
