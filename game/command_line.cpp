#include "game/command_line.h"

#include "runtime/screen/screen.h"
#include "tervane_version.h"

#include <string_view>

namespace {

// What an option does to the command line being built, given its value
// (empty for an option that takes none).
struct Option {
    std::string_view name;
    const char* value;  // what the value is, for the error; nullptr when it takes none
    void (*apply)(CommandLine& line, std::string_view value);
};

constexpr const char* FileValue = "a file name";
constexpr const char* ScaleValue = "a scale from 1 to 4";

void SetMode(CommandLine& line, LaunchMode mode, std::string_view file)
{
    if (line.options.mode != LaunchMode::Normal) {
        line.action = CommandLineAction::Refuse;
        line.error = "--record, --play, --play-last and --timedemo exclude each other";
        return;
    }
    line.options.mode = mode;
    line.options.replayFile = file;
}

// One digit, so "2x", " 2" and "02" are refused rather than half read.
void SetScale(CommandLine& line, std::string_view value)
{
    if (value.size() == 1 && value[0] >= '1' && value[0] <= '0' + QV_MAX_WINDOW_SCALE) {
        line.options.scale = value[0] - '0';
        return;
    }
    line.action = CommandLineAction::Refuse;
    line.error = "option '--scale' needs " + std::string(ScaleValue) + ", not '" + std::string(value) + "'";
}

constexpr Option Options[] = {
    {"help", nullptr, [](CommandLine& line, std::string_view) { line.action = CommandLineAction::ShowHelp; }},
    {"version", nullptr, [](CommandLine& line, std::string_view) { line.action = CommandLineAction::ShowVersion; }},
    {"record", FileValue, [](CommandLine& line, std::string_view file) { SetMode(line, LaunchMode::Record, file); }},
    {"play", FileValue, [](CommandLine& line, std::string_view file) { SetMode(line, LaunchMode::Play, file); }},
    {"play-last", nullptr,
     [](CommandLine& line, std::string_view) {
         SetMode(line, LaunchMode::Play, {});
         line.options.playLast = true;
     }},
    {"timedemo", FileValue,
     [](CommandLine& line, std::string_view file) { SetMode(line, LaunchMode::Timedemo, file); }},
    {"frame-digests", FileValue, [](CommandLine& line, std::string_view file) { line.options.digestFile = file; }},
    {"scale", ScaleValue, SetScale},
};

const Option* FindOption(std::string_view name)
{
    for (const Option& option : Options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

CommandLine Refused(std::string error)
{
    CommandLine line;
    line.action = CommandLineAction::Refuse;
    line.error = std::move(error);
    return line;
}

}  // namespace

CommandLine ParseCommandLine(std::span<const char* const> arguments)
{
    CommandLine line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!argument.starts_with("--") || argument.size() == 2)
            return Refused("unexpected argument '" + std::string(argument) + "'");
        const size_t equals = argument.find('=');
        const std::string_view name =
            argument.substr(2, equals == std::string_view::npos ? std::string_view::npos : equals - 2);
        const Option* option = FindOption(name);
        if (option == nullptr)
            return Refused("unknown option '--" + std::string(name) + "'");
        const bool takesValue = option->value != nullptr;
        std::string_view value;
        if (equals != std::string_view::npos) {
            if (!takesValue)
                return Refused("option '--" + std::string(name) + "' takes no value");
            value = argument.substr(equals + 1);
        } else if (takesValue) {
            if (i + 1 == arguments.size())
                return Refused("option '--" + std::string(name) + "' needs " + option->value);
            value = arguments[++i];
        }
        if (takesValue && value.empty())
            return Refused("option '--" + std::string(name) + "' needs " + option->value);
        const CommandLineAction before = line.action;
        option->apply(line, value);
        if (line.action == CommandLineAction::Refuse)
            return line;
        // --help and --version win over anything else on the line.
        if (before != CommandLineAction::Run)
            line.action = before;
    }
    if (line.action == CommandLineAction::Run && !line.options.digestFile.empty() &&
        line.options.mode != LaunchMode::Play && line.options.mode != LaunchMode::Timedemo)
        return Refused("--frame-digests needs --play, --play-last or --timedemo");
    return line;
}

std::string UsageText()
{
    return "Usage: tervane [OPTION]\n"
           "Fly Tervane, a vertically scrolling shoot-'em-up.\n"
           "\n"
           "With no option the options window opens, then the game. Every game is\n"
           "recorded, and the last 20 kept, in $XDG_DATA_HOME/tervane/replays.\n"
           "  --record FILE         play as usual, recording every frame's input to FILE\n"
           "  --play FILE           watch the replay FILE (Escape stops watching)\n"
           "  --play-last           watch the last run played, as R on the title page does\n"
           "  --timedemo FILE       play the replay FILE unpaced and silent, then print\n"
           "                        frames, seconds, frames per second and a digest\n"
           "  --frame-digests OUT   with --play, --play-last or --timedemo: write each\n"
           "                        presented frame's number and pixel digest to OUT\n"
           "  --scale N             in window mode, show the game N times larger (1 to 4)\n"
           "                        this run, whatever WindowScale in Tervane.ini says\n"
           "  --help                show this text and exit\n"
           "  --version             show the version and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when the game cannot start or a file asked for\n"
           "could not be written whole, 2 for a bad command line or a file it cannot use.\n";
}

std::string VersionText()
{
    return std::string("tervane ") + TERVANE_VERSION;
}
