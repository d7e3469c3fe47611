#include "game/frame_watch.h"

#include "game/owned_file.h"
#include "runtime/screen/frame_digest.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

struct FrameWatchState {
    std::string digestPath;
    OwnedFile digestFile;
    bool timing = false;
    int32_t frames = 0;
    uint64_t runDigest = QV_DIGEST_START;
    timespec start{};
};

FrameWatchState watch;

double SecondsSince(const timespec& start)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - start.tv_sec) + static_cast<double>(now.tv_nsec - start.tv_nsec) / 1e9;
}

}  // namespace

std::string StartFrameWatch(const std::string& digestPath, const std::string& replayPath, bool timing)
{
    watch = {};
    // A run can end before its first frame: the display can go away while
    // the screen opens.
    clock_gettime(CLOCK_MONOTONIC, &watch.start);
    watch.timing = timing;
    watch.digestPath = digestPath;
    std::string error;
    if (!digestPath.empty())
        watch.digestFile = OpenOutputFile(digestPath, replayPath, error);
    return error;
}

bool TimingFrames()
{
    return watch.timing;
}

void BeginWatchedFrames()
{
    watch.frames = 0;
    watch.runDigest = QV_DIGEST_START;
    clock_gettime(CLOCK_MONOTONIC, &watch.start);
}

void WatchFrame()
{
    if (!watch.timing && !watch.digestFile)
        return;
    const uint64_t digest = QV_ScreenDigest();
    watch.runDigest = QV_CombineDigests(watch.runDigest, digest);
    if (watch.digestFile)
        std::fprintf(watch.digestFile.get(), "%d %016" PRIx64 "\n", watch.frames, digest);
    ++watch.frames;
}

bool EndWatchedFrames()
{
    const bool written = !watch.digestFile ||
        ((std::ferror(watch.digestFile.get()) == 0) & (std::fclose(watch.digestFile.release()) == 0));
    if (!written)
        std::fprintf(stderr, "tervane: %s: could not be written whole: %s\n", watch.digestPath.c_str(),
                     std::strerror(errno));
    if (!watch.timing)
        return written;
    const double seconds = SecondsSince(watch.start);
    std::printf("%d frames in %.3f seconds, %.1f frames per second, digest %016" PRIx64 "\n", watch.frames, seconds,
                seconds > 0 ? watch.frames / seconds : 0.0, watch.runDigest);
    std::fflush(stdout);
    return written;
}
