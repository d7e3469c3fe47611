// The command line: with no arguments the game starts as it always has;
// the options record a run, play one back or time one.
#pragma once

#include <cstdint>
#include <span>
#include <string>

enum class LaunchMode {
    Normal,    // the options window, then the game
    Record,    // as Normal, writing every frame's input to a replay
    Play,      // play a replay back at the game's pace
    Timedemo,  // play a replay unpaced and silent, then report the time taken
};

struct LaunchOptions {
    LaunchMode mode = LaunchMode::Normal;
    std::string replayFile;  // written by Record, read by Play and Timedemo
    bool playLast = false;   // Play the newest kept run (kept_files.h) instead
    std::string digestFile;  // one line per presented frame; empty for none
    int32_t scale = 0;       // the window's scale for this run; 0 for the settings file's
};

enum class CommandLineAction { Run, ShowHelp, ShowVersion, Refuse };

struct CommandLine {
    CommandLineAction action = CommandLineAction::Run;
    LaunchOptions options;
    std::string error;  // for Refuse: what is wrong, in a few words
};

// Reads the arguments that follow the program's name, GNU style: "--name
// VALUE" or "--name=VALUE".
CommandLine ParseCommandLine(std::span<const char* const> arguments);

// The usage text, ending in a newline.
std::string UsageText();

// "tervane " and the game's version.
std::string VersionText();
