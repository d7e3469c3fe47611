// A fresh empty working folder for a test, removed again with everything in
// it, that is also the configuration folder XDG_CONFIG_HOME names: the
// settings file is the same "Tervane.ini" whether the game finds one in the
// folder it starts in or not, and no test reaches the player's own.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class ScratchSettingsFolder {
public:
    ScratchSettingsFolder() : previous_(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tervane-settings-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        // Open to the unprivileged user that permission tests hand the folder to.
        std::filesystem::permissions(root_,
                                     std::filesystem::perms::owner_all | std::filesystem::perms::group_exec |
                                         std::filesystem::perms::others_exec);
        folder_ = root_ / "tervane";
        std::filesystem::create_directory(folder_);
        setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
        std::filesystem::current_path(folder_);
    }

    ~ScratchSettingsFolder()
    {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(root_);
    }

    ScratchSettingsFolder(const ScratchSettingsFolder&) = delete;
    ScratchSettingsFolder& operator=(const ScratchSettingsFolder&) = delete;

    // The folder, and the settings file's full path in it.
    const std::filesystem::path& Path() const { return folder_; }
    std::string File() const { return (folder_ / "Tervane.ini").string(); }

private:
    std::filesystem::path previous_;
    std::filesystem::path root_;
    std::filesystem::path folder_;
};
