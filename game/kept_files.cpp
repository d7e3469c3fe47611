#include "game/kept_files.h"

#include "game/controls.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* RunExtension = ".tvr";
// "YYYY-MM-DD_HH-MM-SS"
constexpr size_t DateTimeLength = 19;

// The XDG base directory rules ignore a relative path in their variables.
bool Absolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

std::string FolderUnder(const char* base, const char* home, const char* homePart, const char* tail)
{
    if (Absolute(base))
        return (fs::path(base) / tail).string();
    if (home != nullptr && home[0] != '\0')
        return (fs::path(home) / homePart / tail).string();
    return {};
}

// A name DateTimeName made, then anything, then ".tvr".
bool NamedAsRun(const std::string& name)
{
    if (name.size() < DateTimeLength + std::strlen(RunExtension) || !name.ends_with(RunExtension))
        return false;
    constexpr const char* pattern = "dddd-dd-dd_dd-dd-dd";
    for (size_t i = 0; i < DateTimeLength; ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (pattern[i] == 'd' ? !digit : name[i] != pattern[i])
            return false;
    }
    return true;
}

struct KeptRunState {
    bool keeping = false;  // the game keeps runs in this process
    bool recording = false;
    bool played = false;  // play has begun in the run being kept
    bool failureSaid = false;
    std::string folder;
    std::time_t start = 0;
};

KeptRunState kept;

std::string RecordingPath()
{
    return (fs::path(kept.folder) / (DateTimeName(kept.start) + RunExtension)).string();
}

// The runs in `folder`, oldest first.
std::vector<fs::path> RunsIn(const std::string& folder)
{
    std::vector<fs::path> runs;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (NamedAsRun(it->path().filename().string()) && it->is_regular_file(error))
            runs.push_back(it->path());
    }
    std::sort(runs.begin(), runs.end());
    return runs;
}

}  // namespace

std::string KeptRunsFolder(const char* dataHome, const char* home)
{
    return FolderUnder(dataHome, home, ".local/share", "tervane/replays");
}

std::string ScreenshotsFolder(const char* picturesDir, const char* home)
{
    return FolderUnder(picturesDir, home, "Pictures", "Tervane");
}

std::string KeptRunsFolder()
{
    return KeptRunsFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::string ScreenshotsFolder()
{
    return ScreenshotsFolder(std::getenv("XDG_PICTURES_DIR"), std::getenv("HOME"));
}

std::string DateTimeName(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char name[32];
    std::strftime(name, sizeof name, "%Y-%m-%d_%H-%M-%S", &local);
    return name;
}

std::string MakeFolder(const std::string& folder)
{
    if (folder.empty())
        return "neither HOME nor an XDG folder is set";
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return folder + ": cannot be made: " + error.message();
    return {};
}

std::string KeptRunName(std::time_t start, int32_t score)
{
    return DateTimeName(start) + "_score-" + std::to_string(score) + RunExtension;
}

void KeepNewestRuns(const std::string& folder, int32_t count)
{
    const std::vector<fs::path> runs = RunsIn(folder);
    const size_t surplus = runs.size() > size_t(count) ? runs.size() - size_t(count) : 0;
    std::error_code error;
    for (size_t i = 0; i < surplus; ++i)
        fs::remove(runs[i], error);
}

std::string LastKeptRun(const std::string& folder)
{
    const std::vector<fs::path> runs = RunsIn(folder);
    return runs.empty() ? std::string() : runs.back().string();
}

void StartKeptRun()
{
    kept.keeping = true;
    kept.folder = KeptRunsFolder();
    kept.start = std::time(nullptr);
    kept.played = false;
    std::string error = MakeFolder(kept.folder);
    if (error.empty())
        error = StartRecording(RecordingPath(), Recording::Kept);
    kept.recording = error.empty();
    if (!kept.recording && !kept.failureSaid)
        std::fprintf(stderr, "tervane: runs are not kept: %s\n", error.c_str());
    kept.failureSaid |= !kept.recording;
}

void NoteGamePlayed()
{
    kept.played = true;
}

void FinishKeptRun(int32_t score)
{
    if (!kept.recording)
        return;
    kept.recording = false;
    // A run closed before its first frame left no file.
    std::error_code error;
    if (!kept.played) {
        fs::remove(RecordingPath(), error);
        return;
    }
    fs::rename(RecordingPath(), fs::path(kept.folder) / KeptRunName(kept.start, score), error);
    KeepNewestRuns(kept.folder, KeptRunsCount);
}

bool KeptRunToWatch()
{
    if (!kept.keeping)
        return false;
    if (kept.recording && kept.played)
        return true;
    std::vector<fs::path> runs = RunsIn(kept.folder);
    if (kept.recording)
        std::erase(runs, fs::path(RecordingPath()));
    return !runs.empty();
}
