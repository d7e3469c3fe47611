#include "game/command_line.h"

#include "tervane_version.h"

#include <string_view>

namespace {

// What an option does to the command line being built, given its value
// (empty for an option that takes none).
struct Option {
    std::string_view name;
    bool takesValue;
    void (*apply)(CommandLine& line, std::string_view value);
};

void SetMode(CommandLine& line, LaunchMode mode, std::string_view file)
{
    if (line.options.mode != LaunchMode::Normal) {
        line.action = CommandLineAction::Refuse;
        line.error = "--record, --play and --timedemo exclude each other";
        return;
    }
    line.options.mode = mode;
    line.options.replayFile = file;
}

constexpr Option Options[] = {
    {"help", false, [](CommandLine& line, std::string_view) { line.action = CommandLineAction::ShowHelp; }},
    {"version", false, [](CommandLine& line, std::string_view) { line.action = CommandLineAction::ShowVersion; }},
    {"record", true, [](CommandLine& line, std::string_view file) { SetMode(line, LaunchMode::Record, file); }},
    {"play", true, [](CommandLine& line, std::string_view file) { SetMode(line, LaunchMode::Play, file); }},
    {"timedemo", true, [](CommandLine& line, std::string_view file) { SetMode(line, LaunchMode::Timedemo, file); }},
    {"frame-digests", true, [](CommandLine& line, std::string_view file) { line.options.digestFile = file; }},
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

} // namespace

CommandLine ParseCommandLine(std::span<const char* const> arguments)
{
    CommandLine line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!argument.starts_with("--") || argument.size() == 2)
            return Refused("unexpected argument '" + std::string(argument) + "'");
        const size_t equals = argument.find('=');
        const std::string_view name = argument.substr(2, equals == std::string_view::npos ? std::string_view::npos : equals - 2);
        const Option* option = FindOption(name);
        if (option == nullptr)
            return Refused("unknown option '--" + std::string(name) + "'");
        std::string_view value;
        if (equals != std::string_view::npos) {
            if (!option->takesValue)
                return Refused("option '--" + std::string(name) + "' takes no value");
            value = argument.substr(equals + 1);
        } else if (option->takesValue) {
            if (i + 1 == arguments.size())
                return Refused("option '--" + std::string(name) + "' needs a file name");
            value = arguments[++i];
        }
        if (option->takesValue && value.empty())
            return Refused("option '--" + std::string(name) + "' needs a file name");
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
        return Refused("--frame-digests needs --play or --timedemo");
    return line;
}

std::string UsageText()
{
    return "Usage: tervane [OPTION]\n"
           "Fly Tervane, a vertically scrolling shoot-'em-up.\n"
           "\n"
           "With no option the options window opens, then the game.\n"
           "  --record FILE         play as usual, recording every frame's input to FILE\n"
           "  --play FILE           watch the replay FILE (Escape stops watching)\n"
           "  --timedemo FILE       play the replay FILE unpaced and silent, then print\n"
           "                        frames, seconds, frames per second and a digest\n"
           "  --frame-digests OUT   with --play or --timedemo: write each presented\n"
           "                        frame's number and pixel digest to OUT\n"
           "  --help                show this text and exit\n"
           "  --version             show the version and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when the game cannot start,\n"
           "2 for a bad command line or a bad replay file.\n";
}

std::string VersionText()
{
    return std::string("tervane ") + TERVANE_VERSION;
}
