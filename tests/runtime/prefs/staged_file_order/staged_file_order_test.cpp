// What reaches the disk before a staged file is renamed over its target:
// fsync and rename are replaced at link time by stand-ins that note each
// call and then do the real thing.
#include "runtime/core/strings.h"
#include "runtime/prefs/preferences.h"
#include "runtime/prefs/staged_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> calls;

std::string NameOf(int descriptor)
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(descriptor), error).filename().string();
}

}  // namespace

int fsync(int descriptor)
{
    calls.push_back("fsync " + NameOf(descriptor));
    return static_cast<int>(syscall(SYS_fsync, descriptor));
}

int rename(const char* from, const char* to) noexcept
{
    calls.push_back("rename " + std::filesystem::path(from).filename().string() + " " +
                    std::filesystem::path(to).filename().string());
    return static_cast<int>(syscall(SYS_rename, from, to));
}

namespace {

TEST(StagedFileOrderTest, TheBytesReachTheDiskBeforeTheRename)
{
    char pattern[] = "/tmp/tervane-staged-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path folder = pattern;
    const std::string temporary = "Tervane.ini." + std::to_string(getpid()) + ".tmp";
    ASSERT_EQ(QV_InitStrings(QV_StringAreaSize), 1);
    QV_InitPreference();

    ASSERT_NE(QV_CreatePreferences((folder / "Tervane.ini").c_str()), nullptr);
    QV_WritePreferenceString("HiScore", "6");
    calls.clear();
    EXPECT_EQ(QV_ClosePreferences(), 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync " + temporary, "rename " + temporary + " Tervane.ini"}));

    // The replays' way: written through a stream, placed while it stays open.
    QV_StagedFile staged;
    const int descriptor = QV_CreateStagedFile((folder / "run.tvr").string(), nullptr, staged);
    ASSERT_GE(descriptor, 0);
    const std::string replayTemporary = "run.tvr." + std::to_string(getpid()) + ".tmp";
    calls.clear();
    EXPECT_TRUE(QV_PlaceStagedFile(descriptor, staged));
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync " + replayTemporary, "rename " + replayTemporary + " run.tvr"}));
    close(descriptor);

    QV_FreePreferences();
    QV_FreeStrings();
    std::filesystem::remove_all(folder);
}

}  // namespace
