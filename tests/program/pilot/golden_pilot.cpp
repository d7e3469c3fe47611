// Records the golden replays: a scripted pilot plays the real game through
// SDL's event queue, as a player's keyboard would, and the game's own
// recorder writes what it saw. The pilot may look at the game's state to
// decide, but acts only through keys, so the replay alone repeats the run.
//
//   golden_pilot level FILE SEED      the whole level, back to the title
//   golden_pilot game-over FILE SEED  a game lost, to the game-over page
//
// Flying the whole level unhurt takes foresight: the pilot tries each
// stretch of flight in a forked copy of the game and keeps the first way
// through that takes no hit. The keys it settles on are then played again
// from the start in a fresh process, with the recorder on.
//
// Runs headless with SDL_VIDEODRIVER=dummy. Prints the frames recorded.
#include "game/assets.h"
#include "game/bosses.h"
#include "game/command_line.h"
#include "game/controls.h"
#include "game/enemy_waves.h"
#include "game/frame_loop.h"
#include "game/game_screen.h"
#include "game/level_map.h"
#include "game/player.h"
#include "game/score.h"
#include "game/settings.h"
#include "game/shots_explosions.h"
#include "game/startup.h"
#include "runtime/core/lists.h"
#include "runtime/core/random.h"
#include "runtime/screen/frame_digest.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"
#include "tests/runtime/input/key_events.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <random>
#include <string>
#include <vector>

namespace {

// The keys the pilot uses, one bit each in a frame's key mask.
constexpr std::array<int32_t, 7> PilotKeys = {SDLK_LEFT,  SDLK_RIGHT, SDLK_UP,    SDLK_DOWN,
                                              SDLK_SPACE, SDLK_s,     SDLK_ESCAPE};
constexpr uint8_t Left = 1, Right = 2, Up = 4, Down = 8, Fire = 16, Start = 32, Escape = 64;

constexpr int32_t Horizon = 100;         // frames of danger looked ahead
constexpr int32_t GunsCentre = 32;       // the guns' bullets straddle PlayerX + 32
constexpr int32_t SegmentFrames = 24;    // flight kept per decision
constexpr int32_t LookaheadFrames = 60;  // flight after it that must stay safe too
constexpr int32_t Attempts = 32;

// How one stretch of flight is flown.
struct Style {
    int32_t targetShift = 0;  // aim this far beside the target
    int32_t cruiseY = 360;    // the height the plane returns to
    uint8_t swerve = 0;       // keys held for the first SwerveFrames, if any
};
constexpr int32_t SwerveFrames = 12;

struct Box {
    int32_t x, y, w, h;
};

bool Overlap(const Box& a, const Box& b, int32_t margin)
{
    return a.x - margin < b.x + b.w && b.x - margin < a.x + a.w && a.y - margin < b.y + b.h && b.y - margin < a.y + a.h;
}

// Every frame's key mask, and the keys as SDL last heard of them.
std::vector<uint8_t> script;
uint8_t heldMask = 0;

// Presses and lets go of keys through SDL's event queue, only when their
// state changes, as a keyboard does; then runs the frame.
void Frame(uint8_t mask)
{
    for (size_t bit = 0; bit < PilotKeys.size(); ++bit) {
        const bool down = (mask >> bit & 1) != 0;
        if (down != ((heldMask >> bit & 1) != 0))
            PushKeyEvent(PilotKeys[bit], down);
    }
    heldMask = mask;
    script.push_back(mask);
    RunFrame();
}

void Wait(int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        Frame(0);
}

void Tap(uint8_t key)
{
    Frame(key);
    Frame(0);
}

Box PlaneAfter(int32_t dx, int32_t dy, int32_t t)
{
    const int32_t steps = std::min(t, 12);
    return {std::clamp(Player.PlayerX + dx * Player.PlayerSpeed * steps, 32, 386),
            std::clamp(Player.PlayerY + dy * Player.PlayerSpeed * steps, 100, 382), QV_SpriteWidth(PlanePicture()),
            QV_SpriteHeight(PlanePicture())};
}

// What the plane risks over the next frames moving by (dx, dy): shots,
// rams, and the volleys the enemies above might fire; sooner counts more.
int64_t Danger(int32_t dx, int32_t dy)
{
    int64_t danger = 0;
    for (int32_t t = 1; t <= Horizon; ++t) {
        const Box plane = PlaneAfter(dx, dy, t);
        const int32_t weight = Horizon + 1 - t;
        QV_ResetList(&Hits.EnemyShots);
        while (QV_NextElement(&Hits.EnemyShots) != nullptr) {
            const EnemyShot& shot = *QV_CurrentRecord<EnemyShot>(Hits.EnemyShots);
            const int32_t sprite = EnemyShotSprite + shot.Kind;
            if (Overlap(plane,
                        {shot.X + shot.DX * t, shot.Y + shot.DY * t, QV_SpriteWidth(sprite), QV_SpriteHeight(sprite)},
                        6))
                danger += weight * 10;
        }
        QV_ResetList(&Waves.Enemies);
        while (QV_NextElement(&Waves.Enemies) != nullptr) {
            const Enemy& enemy = *QV_CurrentRecord<Enemy>(Waves.Enemies);
            if (enemy.Active != 1 || Level.MapRow <= enemy.StartRow)
                continue;
            const bool flying = enemy.Sprite <= InterceptorType;
            const int32_t sprite = flying ? enemy.Sprite + 1 : enemy.Sprite;
            const Box box{enemy.X + enemy.DX * t, enemy.Y + enemy.DY * t + t / 2, QV_SpriteWidth(sprite),
                          QV_SpriteHeight(sprite)};
            if (flying && Overlap(plane, box, 10))
                danger += weight * 20;
            if (enemy.Shots > 0 && enemy.Y < Player.PlayerY) {
                const int32_t offset = enemy.Sprite >= TankWestType ? 16 : 32;
                for (const int32_t spread : {-1, 1}) {
                    if (Overlap(
                            plane,
                            {enemy.X + offset + (enemy.DX + spread) * t, enemy.Y + offset + (enemy.DY + 2) * t, 12, 12},
                            8))
                        danger += weight;
                }
            }
        }
    }
    return danger;
}

// The x the guns should meet: the boss, else the lowest enemy above.
int32_t TargetX()
{
    if (BossFight.ActiveBoss >= 1)
        return BossFight.Bosses[BossFight.ActiveBoss].X + BossFight.Bosses[BossFight.ActiveBoss].CentreX;
    int32_t best = PlayfieldLeft + 208;
    int32_t lowest = -1000;
    QV_ResetList(&Waves.Enemies);
    while (QV_NextElement(&Waves.Enemies) != nullptr) {
        const Enemy& enemy = *QV_CurrentRecord<Enemy>(Waves.Enemies);
        if (enemy.Active == 1 && Level.MapRow > enemy.StartRow && enemy.Y > lowest && enemy.Y > 0 &&
            enemy.Y < Player.PlayerY - 40) {
            lowest = enemy.Y;
            best = enemy.X + QV_SpriteWidth(enemy.Sprite) / 2;
        }
    }
    return best;
}

// The safest move, and among equally safe ones the one that brings the
// guns under the target; fire held throughout.
uint8_t PilotMask(const Style& style)
{
    const int32_t targetX = std::clamp(TargetX() + style.targetShift - GunsCentre, 32, 386);
    uint8_t best = Fire;
    int64_t bestScore = INT64_MAX;
    for (int32_t dy = -1; dy <= 1; ++dy) {
        for (int32_t dx = -1; dx <= 1; ++dx) {
            const int32_t x = Player.PlayerX + dx * Player.PlayerSpeed;
            const int32_t y = Player.PlayerY + dy * Player.PlayerSpeed;
            const int64_t score = Danger(dx, dy) * 1000 + std::abs(x - targetX) * 4 + std::abs(y - style.cruiseY);
            if (score < bestScore) {
                bestScore = score;
                best = static_cast<uint8_t>(Fire | (dx < 0 ? Left : 0) | (dx > 0 ? Right : 0) | (dy < 0 ? Up : 0) |
                                            (dy > 0 ? Down : 0));
            }
        }
    }
    return best;
}

Style StyleOf(int32_t segment, int32_t attempt)
{
    if (attempt == 0)
        return {};
    std::mt19937 draw(static_cast<uint32_t>(segment * 131 + attempt));
    constexpr uint8_t Swerves[] = {Left, Right, Up, Down, Left | Up, Right | Up, Left | Down, Right | Down};
    Style style{static_cast<int32_t>(draw() % 241) - 120, 200 + static_cast<int32_t>(draw() % 183)};
    if (attempt % 2 == 1)
        style.swerve = Swerves[draw() % 8];
    return style;
}

void Fly(const Style& style, int32_t count)
{
    for (int32_t i = 0; i < count && !AtLevelEnd() && PlaneInPlay(); ++i)
        Frame(i < SwerveFrames && style.swerve != 0 ? static_cast<uint8_t>(style.swerve | Fire) : PilotMask(style));
}

// Tries the segment's styles in forked copies of the game and returns the
// first that keeps the plane unhurt through the segment and the lookahead,
// or else the one that costs least.
int32_t ChooseAttempt(int32_t segment)
{
    int32_t best = 0;
    int32_t leastCost = 256;
    for (int32_t attempt = 0; attempt < Attempts; ++attempt) {
        const pid_t child = fork();
        if (child == 0) {
            const int32_t gauge = Player.DamageGauge;
            Fly(StyleOf(segment, attempt), SegmentFrames);
            Fly({}, LookaheadFrames);
            _exit(!PlaneInPlay() ? 255 : std::min((Player.DamageGauge - gauge) / 5, 254));
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
            std::perror("golden_pilot: fork");
            std::exit(1);
        }
        const int32_t cost = WEXITSTATUS(status);
        if (cost == 0)
            return attempt;
        if (cost < leastCost) {
            leastCost = cost;
            best = attempt;
        }
    }
    return best;
}

bool FlyWholeLevel()
{
    Wait(150);
    Tap(Start);
    for (int32_t segment = 0; !AtLevelEnd(); ++segment) {
        if (!PlaneInPlay()) {
            std::fprintf(stderr, "golden_pilot: the plane was lost at row %d\n", Level.MapRow);
            return false;
        }
        const int32_t gauge = Player.DamageGauge;
        Fly(StyleOf(segment, ChooseAttempt(segment)), SegmentFrames);
        if (Player.DamageGauge != gauge)
            std::fprintf(stderr, "golden_pilot: hit at row %d, damage %d\n", Level.MapRow, Player.DamageGauge);
    }
    Wait(300);
    Tap(Start);
    Wait(200);
    return true;
}

// Flies at the enemies with the guns silent until the plane is lost, then
// watches the game-over page.
bool LoseAGame()
{
    Wait(100);
    Tap(Start);
    while (PlaneInPlay()) {
        if (script.size() > 20000)
            return false;
        const int32_t targetX = std::clamp(TargetX() - GunsCentre, 32, 386);
        Frame(static_cast<uint8_t>((targetX < Player.PlayerX ? Left : 0) | (targetX > Player.PlayerX ? Right : 0) |
                                   (Player.PlayerY > 200 ? Up : 0)));
    }
    Wait(400);
    return true;
}

// The same steps, in the same order, as a replay's playback takes.
bool StartGame(int32_t seed)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    StartRuntimeLayers();
    InitialiseGameState();
    QV_RandomSeed(seed);
    if (StartDevices() != nullptr || OpenGameScreen() != nullptr)
        return false;
    QV_SetFrameRate(0);
    LoadGame();
    return true;
}

// Plays the script again from the start with the recorder on.
int Record(const std::string& scriptFile, const std::string& replayFile, int32_t seed)
{
    std::ifstream in(scriptFile, std::ios::binary);
    const std::vector<uint8_t> masks{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!StartGame(seed))
        return 1;
    if (const std::string error = StartRecording(replayFile, Recording::Asked); !error.empty()) {
        std::fprintf(stderr, "golden_pilot: %s\n", error.c_str());
        return 1;
    }
    BeginControlledFrames({VersionText(), seed, Settings.UseKeys, Settings.HiScore});
    // The frames as this process drew them, to hold against the program's
    // own playback of the replay.
    std::ofstream digests(replayFile + ".pilot-digests");
    // PILOT_SNAPSHOT_EVERY=N saves every Nth frame as a picture to look at.
    const char* every = std::getenv("PILOT_SNAPSHOT_EVERY");
    const size_t snapshotEvery =
        every != nullptr && std::atoi(every) > 0 ? static_cast<size_t>(std::atoi(every)) : SIZE_MAX;
    bool levelCompleted = false;
    int32_t finalScore = 0;
    for (size_t frame = 0; frame < masks.size(); ++frame) {
        Frame(masks[frame]);
        digests << frame << ' ' << std::hex << std::setw(16) << std::setfill('0') << QV_ScreenDigest() << std::dec
                << '\n';
        if (frame % snapshotEvery == snapshotEvery - 1)
            SDL_SaveBMP(QV_ScreenID(), (replayFile + "." + std::to_string(frame) + ".bmp").c_str());
        if (AtLevelEnd() && !levelCompleted) {
            levelCompleted = true;
            finalScore = Scoring.Score;
        }
        if (PlaneInPlay())
            finalScore = Scoring.Score;
    }
    EndControlledFrames();
    std::printf("%zu frames recorded, score %d, %s, damage %d\n", masks.size(), finalScore,
                levelCompleted ? "level completed" : "level not completed", Player.DamageGauge);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 5 && std::strcmp(argv[1], "record") == 0)
        return Record(argv[2], argv[3], std::atoi(argv[4]));
    if (argc != 4 || (std::strcmp(argv[1], "level") != 0 && std::strcmp(argv[1], "game-over") != 0)) {
        std::fputs("usage: golden_pilot level|game-over FILE SEED\n", stderr);
        return 2;
    }
    const int32_t seed = std::atoi(argv[3]);
    if (!StartGame(seed)) {
        std::fputs("golden_pilot: no screen\n", stderr);
        return 1;
    }
    const bool flown = std::strcmp(argv[1], "level") == 0 ? FlyWholeLevel() : LoseAGame();
    Tap(Escape);
    if (!flown)
        return 1;
    const std::string scriptFile = std::string(argv[2]) + ".keys";
    std::ofstream(scriptFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(script.data()), static_cast<std::streamsize>(script.size()));
    execl("/proc/self/exe", argv[0], "record", scriptFile.c_str(), argv[2], argv[3], static_cast<char*>(nullptr));
    std::perror("golden_pilot: exec");
    return 1;
}
