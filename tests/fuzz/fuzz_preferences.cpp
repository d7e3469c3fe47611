// Feeds arbitrary bytes to the settings reader as the settings file, asks
// whether it understands them whole and looks up the game's keys, a key made
// from the input and the empty key.
#include "runtime/core/strings.h"
#include "runtime/prefs/preferences.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const std::string& InputPath()
{
    static const std::string path = "/tmp/fuzz_preferences." + std::to_string(getpid()) + ".ini";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (QV_InitStrings(QV_StringAreaSize), QV_InitPreference(), true);
    (void)ready;

    FILE* file = fopen(InputPath().c_str(), "wb");
    if (!file)
        return 0;
    fwrite(data, 1, size, file);
    fclose(file);

    // A key taken from the input's first bytes reaches the matching paths
    // that the fixed keys alone would not.
    const std::string inputKey(reinterpret_cast<const char*>(data), size < 8 ? size : 8);
    // The text is loaded at open time, so the file can go at once.
    QV_OpenPreferences(InputPath().c_str());
    unlink(InputPath().c_str());
    QV_PreferencesUnderstood();
    char* const start = QV_StringBase;
    for (const char* key : {"UseKeys", "UseAudio", "Use3D", "UseWindow", "HiScore", inputKey.c_str(), ""}) {
        QV_ReadPreferenceString(key, "0", QV_StringBase);
        QV_StringBase = start;
    }
    QV_ClosePreferences();
    return 0;
}
