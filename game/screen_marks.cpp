#include "game/screen_marks.h"

#include "game/controls.h"
#include "game/kept_files.h"
#include "game/level_map.h"
#include "game/owned_file.h"
#include "game/setup_notices.h"
#include "runtime/screen/drawing.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/screen_picture.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace {

constexpr int32_t NoteFrames = 75;  // a second at 75 frames a second
constexpr int32_t Margin = 6;       // from the playfield's edge, and inside the plate
constexpr int32_t MarkHeight = 8 + 2 * Margin;
constexpr int32_t PlayfieldRight = PlayfieldLeft + MapColumns * TileSize;

// The game's 8 x 8 text has no middle dot: a 2 x 2 one is drawn between
// the words, in a gap of three characters.
constexpr const char* ReplayWord = "REPLAY";
constexpr const char* StopWords = "Esc stops";
constexpr int32_t DotGap = 24;
constexpr int32_t DotColour = 0xB4AAA0;  // the runtime's RGB: red in the low byte

struct MarksState {
    std::string note;
    int32_t noteFrames = 0;
};

MarksState marks;

void DrawReplayMark()
{
    const int32_t wordWidth = QV_TextLength(ReplayWord);
    const int32_t width = wordWidth + DotGap + QV_TextLength(StopWords) + 2 * Margin;
    const int32_t x = PlayfieldLeft + Margin;
    const int32_t y = PlayfieldLeft + Margin;
    DrawPlate(x, y, width, MarkHeight);
    QV_FrontColor(255, 200, 120);
    DrawTextAt(ReplayWord, x + Margin, y + Margin);
    QV_Box2(x + Margin + wordWidth + DotGap / 2 - 1, y + Margin + 3, 2, 2, DotColour);
    QV_FrontColor(160, 170, 180);
    DrawTextAt(StopWords, x + Margin + wordWidth + DotGap, y + Margin);
}

void DrawNote()
{
    const int32_t width = QV_TextLength(marks.note.c_str()) + 2 * Margin;
    const int32_t x = PlayfieldRight - Margin - width;
    const int32_t y = PlayfieldLeft + Margin;
    DrawPlate(x, y, width, MarkHeight);
    QV_FrontColor(255, 255, 255);
    DrawTextAt(marks.note, x + Margin, y + Margin);
}

// Two screenshots in one second get names of their own.
std::string FreeScreenshotPath(const std::string& folder)
{
    const std::string stem = (std::filesystem::path(folder) / DateTimeName(std::time(nullptr))).string();
    std::string path = stem + ".png";
    std::error_code error;
    for (int32_t n = 2; std::filesystem::exists(path, error); ++n)
        path = stem + "-" + std::to_string(n) + ".png";
    return path;
}

// The path written, or an empty string with `error` the one line to show.
std::string SaveScreenshot(std::string& error)
{
    const std::string folder = ScreenshotsFolder();
    error = MakeFolder(folder);
    if (!error.empty())
        return {};
    const std::string path = FreeScreenshotPath(folder);
    StagedFile file;
    error = file.Open(path);
    if (!error.empty())
        return {};
    const bool written = QV_WriteScreenPng(file.Stream()) != 0 && file.Place();
    const int cause = errno;
    if (file.Close() && written)
        return path;
    error = path + ": cannot be written: " + std::strerror(written ? errno : cause);
    return {};
}

}  // namespace

void ShowNote(const std::string& text)
{
    marks.note = text;
    marks.noteFrames = NoteFrames;
}

void TakeScreenshot()
{
    std::string error;
    const std::string path = SaveScreenshot(error);
    if (path.empty()) {
        std::fprintf(stderr, "tervane: no screenshot: %s\n", error.c_str());
        ShowNote("SCREENSHOT FAILED");
        return;
    }
    std::printf("tervane: screenshot saved to %s\n", path.c_str());
    std::fflush(stdout);
    ShowNote("SCREENSHOT SAVED");
}

void DrawScreenMarks()
{
    const bool replay = PlayingBack();
    if (!replay && marks.noteFrames == 0)
        return;
    QV_StartDrawing(QV_ScreenOutput());
    if (replay)
        DrawReplayMark();
    if (marks.noteFrames > 0) {
        --marks.noteFrames;
        DrawNote();
    }
    QV_StopDrawing();
}
