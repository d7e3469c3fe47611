// The files the game keeps for the player: every run, the newest twenty of
// them, watched again with R or --play-last, and screenshots.
#include "game/controls.h"
#include "game/frame_watch.h"
#include "game/kept_files.h"
#include "game/screen_marks.h"
#include "runtime/screen/frame_digest.h"
#include "tests/game/game_fixture.h"
#include "tests/program/tervane_process.h"

#include <png.h>

namespace {

TEST(KeptFilesTest, FoldersFollowTheXdgVariablesElseHome)
{
    EXPECT_EQ(KeptRunsFolder("/data", "/home/a"), "/data/tervane/replays");
    EXPECT_EQ(KeptRunsFolder(nullptr, "/home/a"), "/home/a/.local/share/tervane/replays");
    EXPECT_EQ(KeptRunsFolder("relative", "/home/a"), "/home/a/.local/share/tervane/replays")
        << "a relative XDG path is ignored";
    EXPECT_EQ(KeptRunsFolder(nullptr, nullptr), "");
    EXPECT_EQ(ScreenshotsFolder("/pics", "/home/a"), "/pics/Tervane");
    EXPECT_EQ(ScreenshotsFolder("", "/home/a"), "/home/a/Pictures/Tervane");
    EXPECT_EQ(ScreenshotsFolder(nullptr, ""), "");
}

// Sets an environment variable for one test.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) { setenv(name, value.c_str(), 1); }
    ~ScopedVariable() { unsetenv(name_); }

private:
    const char* name_;
};

class KeptRunsTest : public GameTest {
protected:
    TemporaryFolder home_;
    ScopedVariable data_{"XDG_DATA_HOME", home_ / "data"};
    ScopedVariable pictures_{"XDG_PICTURES_DIR", home_ / "pictures"};
    std::string runs_ = home_ / "data/tervane/replays";
    std::vector<std::string> digests_;

    void Frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            RunFrame();
            digests_.push_back(DigestLine(digests_.size(), QV_ScreenDigest()));
        }
    }

    // A short run: a game started, some flying and firing.
    void PlayShortRun()
    {
        Frames(20);
        PushKeyDown(SDLK_s);
        Frames(1);
        PushKeyUp(SDLK_s);
        PushKeyDown(SDLK_SPACE);
        PushKeyDown(SDLK_LEFT);
        Frames(60);
        PushKeyUp(SDLK_LEFT);
        PushKeyUp(SDLK_SPACE);
        Frames(20);
    }
};

TEST_F(KeptRunsTest, EveryRunIsKeptByScoreAndOnlyTheNewestTwentyStay)
{
    ASSERT_TRUE(fs::create_directories(runs_));
    for (int day = 1; day <= 21; ++day)
        std::ofstream(runs_ + "/2020-01-" + (day < 10 ? "0" : "") + std::to_string(day) + "_10-00-00_score-5.tvr");
    std::ofstream(runs_ + "/notes.txt");

    StartKeptRun();
    BeginControlledFrames({VersionText(), 12345, Settings.UseKeys, Settings.HiScore});
    PlayShortRun();
    EXPECT_TRUE(EndControlledFrames());
    NoteGamePlayed();
    EXPECT_TRUE(KeptRunToWatch()) << "this run, with a game played";
    FinishKeptRun(1230);

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(runs_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 21U) << "twenty runs and the unrelated file";
    EXPECT_EQ(names.front(), "2020-01-03_10-00-00_score-5.tvr") << "the two oldest went";
    EXPECT_EQ(names.back(), "notes.txt");
    const std::string last = LastKeptRun(runs_);
    EXPECT_TRUE(last.ends_with("_score-1230.tvr")) << last;

    // The kept run plays back frame for frame as --play-last.
    const TervaneRun run = RunTervaneProgram({"--play-last", "--frame-digests", "digests.txt"}, home_);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(FileText(home_ / "digests.txt")), digests_);
}

TEST_F(KeptRunsTest, AttractPagesAloneAreNotKeptAndPlayLastThenRefuses)
{
    StartKeptRun();
    BeginControlledFrames({VersionText(), 12345, Settings.UseKeys, Settings.HiScore});
    Frames(100);
    EXPECT_FALSE(KeptRunToWatch());
    EXPECT_TRUE(EndControlledFrames());
    FinishKeptRun(0);
    EXPECT_TRUE(fs::is_empty(runs_)) << "the attract pages alone are not kept";
    const TervaneRun run = RunTervaneProgram({"--play-last"}, home_);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tervane: no run has been kept yet in " + runs_ + "\n");
}

TEST_F(KeptRunsTest, RecordingSaysWhereTheReplayWentAndItsFrames)
{
    const std::string path = home_ / "run.tvr";
    ASSERT_EQ(StartRecording(path, Recording::Asked), "");
    BeginControlledFrames({VersionText(), 12345, Settings.UseKeys, Settings.HiScore});
    Frames(30);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(EndControlledFrames());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "tervane: replay saved to " + path + ", 30 frames\n");
}

// A run watched after the game has been played is the run as recorded:
// nothing of the game before it shows through.
TEST_F(KeptRunsTest, AWatchedRunDrawsItsFramesWhateverCameBefore)
{
    const std::string golden = std::string(GOLDEN_REPLAYS) + "/game_over";
    PlayShortRun();
    PushKeyDown(SDLK_RIGHT);
    ASSERT_EQ(StartFrameWatch(home_ / "watched.txt", "", false), "");
    WatchRun(golden + ".tvr");
    EXPECT_FALSE(PlayingBack());
    EXPECT_EQ(Flow.Phase, GamePhase::Title);
    const std::vector<std::string> watched = Lines(FileText(home_ / "watched.txt"));
    const std::vector<std::string> recorded = Lines(FileText(golden + ".digests"));
    ASSERT_EQ(watched.size(), recorded.size());
    for (size_t frame = 0; frame < watched.size(); ++frame)
        ASSERT_EQ(watched[frame], recorded[frame]) << "first differing frame " << frame;
}

TEST_F(KeptRunsTest, AScreenshotIsTheFrameAsPng)
{
    PlayShortRun();
    testing::internal::CaptureStdout();
    TakeScreenshot();
    const std::string said = testing::internal::GetCapturedStdout();
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(home_ / "pictures/Tervane"))
        files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1U);
    EXPECT_EQ(said, "tervane: screenshot saved to " + files[0].string() + "\n");
    EXPECT_EQ(files[0].extension(), ".png");

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, files[0].c_str()), 0) << image.message;
    image.format = PNG_FORMAT_RGB;
    ASSERT_EQ(image.width, 640U);
    ASSERT_EQ(image.height, 480U);
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr), 0) << image.message;
    std::vector<uint32_t> row(640);
    ASSERT_EQ(SDL_LockSurface(QV_Screen_Current), 0);
    size_t differing = 0;
    for (int y = 0; y < 480; ++y) {
        QV_ScreenRowColours(QV_Screen_Current, y, row.data());
        for (int x = 0; x < 640; ++x) {
            const png_byte* pixel = &pixels[(size_t(y) * 640 + size_t(x)) * 3];
            differing += row[size_t(x)] != (uint32_t(pixel[0]) << 16 | uint32_t(pixel[1]) << 8 | pixel[2]);
        }
    }
    SDL_UnlockSurface(QV_Screen_Current);
    EXPECT_EQ(differing, 0U);
}

}  // namespace
