#include "game/run_end.h"

#include "game/controls.h"
#include "game/frame_watch.h"
#include "game/kept_files.h"
#include "game/score.h"
#include "game/settings.h"
#include "runtime/sdl/display_loss.h"

#include <cstdio>
#include <optional>

namespace {

constexpr int32_t DisplayLostStatus = 1;

std::optional<bool> runEnd;

// Runs inside Xlib, with the connection gone: nothing here may draw, wait for
// an event or open a window.
int32_t EndWithoutTheDisplay()
{
    std::fputs("tervane: the display went away\n", stderr);
    EndRun();
    return DisplayLostStatus;
}

}  // namespace

void BeginRun()
{
    runEnd.reset();
}

bool EndRun()
{
    if (!runEnd) {
        const bool digestsWritten = EndWatchedFrames();
        const bool replayWritten = EndControlledFrames();
        FinishKeptRun(Scoring.Score);
        // A replay never sets a hi score.
        if (!PlayingBack())
            WriteSettings();
        runEnd = digestsWritten && replayWritten;
    }
    return *runEnd;
}

void EndRunWhenTheDisplayGoes()
{
    QV_OnDisplayLost(EndWithoutTheDisplay);
}
