#include "game/settings_place.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

constexpr const char* FileName = "Tervane.ini";
constexpr const char* ConfigFolderName = "tervane";

bool IsAbsolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

std::string InFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string StartFolder()
{
    char path[PATH_MAX];
    return getcwd(path, sizeof path) != nullptr ? path : "";
}

}  // namespace

SettingsPlace ChooseSettingsPlace(const SettingsPlaceFacts& facts)
{
    std::string config;
    if (IsAbsolute(facts.configHome))
        config = facts.configHome;
    else if (IsAbsolute(facts.home))
        config = InFolder(facts.home, ".config");
    if (facts.fileInStartFolder || config.empty())
        return {InFolder(facts.startFolder, FileName), ""};
    const std::string folder = InFolder(config, ConfigFolderName);
    return {InFolder(folder, FileName), folder};
}

SettingsPlace FindSettingsPlace()
{
    struct stat status;
    const bool fileHere = lstat(FileName, &status) == 0;
    return ChooseSettingsPlace({StartFolder(), fileHere, std::getenv("HOME"), std::getenv("XDG_CONFIG_HOME")});
}

bool MakeSettingsFolder(const SettingsPlace& place)
{
    const std::string& folder = place.folder;
    if (folder.empty())
        return true;
    // Each folder on the way, then the folder itself.
    for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        if (mkdir(folder.substr(0, end).c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (end == std::string::npos)
            break;
    }
    // mkdir says EEXIST for a file standing in the folder's place too.
    struct stat status;
    if (stat(folder.c_str(), &status) != 0)
        return false;
    if (!S_ISDIR(status.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}
