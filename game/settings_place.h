// Where the settings and the hi score are kept, one file however the game is
// started: "Tervane.ini" in the folder the game starts in when the player
// keeps one there, otherwise in the player's configuration folder.
#pragma once

#include <string>

// What the choice depends on.
struct SettingsPlaceFacts {
    std::string startFolder;  // absolute; empty when it cannot be told
    bool fileInStartFolder;   // "Tervane.ini" exists there (a link or not)
    const char* home;         // $HOME, nullptr when unset
    const char* configHome;   // $XDG_CONFIG_HOME, nullptr when unset
};

struct SettingsPlace {
    std::string file;    // the settings file, its full path where it can be told
    std::string folder;  // made when missing before the file is written; empty for none
};

// The file in the start folder when it exists there; otherwise
// $XDG_CONFIG_HOME/tervane/Tervane.ini, or ~/.config/tervane/Tervane.ini
// when XDG_CONFIG_HOME is unset, empty or relative (which the XDG rules
// ignore); with neither, the file in the start folder.
SettingsPlace ChooseSettingsPlace(const SettingsPlaceFacts& facts);

// The choice for this process: its working folder and environment.
SettingsPlace FindSettingsPlace();

// Makes the place's folder, and the folders above it, where missing (mode
// 0700, as the XDG rules ask). False, errno telling why, when it cannot.
bool MakeSettingsFolder(const SettingsPlace& place);
