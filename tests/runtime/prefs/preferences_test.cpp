#include "runtime/prefs/preferences.h"

#include "runtime/core/strings.h"
#include "tests/runtime/prefs/unprivileged.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QV_InitStrings(QV_StringAreaSize), 1);
        char pattern[] = "/tmp/tervane-prefs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        path = (folder / "Tervane.ini").string();
        QV_InitPreference();
    }

    void TearDown() override
    {
        QV_FreePreferences();
        QV_FreeStrings();
        fs::remove_all(folder);
    }

    void WriteFile(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }

    std::string FileBytes() const
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Looks `key` up the way the game does, at the current base.
    std::string Read(const char* key, const char* defaultValue = "default") const
    {
        return QV_ReadPreferenceString(key, defaultValue, QV_StringBase);
    }

    // Writes the one line `HiScore = 6` as the game writes its settings.
    bool WriteHiScoreSix() const
    {
        if (QV_CreatePreferences(path.c_str()) == nullptr)
            return false;
        QV_WritePreferenceString("HiScore", "6");
        QV_ClosePreferences();
        return true;
    }

    std::string ReadFile(const std::string& bytes, const char* key)
    {
        WriteFile(bytes);
        EXPECT_NE(QV_OpenPreferences(path.c_str()), nullptr);
        std::string value = Read(key);
        QV_ClosePreferences();
        return value;
    }

    fs::path folder;
    std::string path;
};

std::string BytesOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// For a forked child: files can grow to `bytes` and no further.
void LimitFileSize(rlim_t bytes)
{
    rlimit limit;
    limit.rlim_cur = limit.rlim_max = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

// Makes the symbolic link `link` to `target` as the unprivileged user.
void LinkAsUnprivilegedUser(const fs::path& target, const std::string& link)
{
    EXPECT_EXIT(
        {
            BecomeUnprivileged();
            std::_Exit(symlink(target.c_str(), link.c_str()) == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

size_t EntriesIn(const fs::path& folder)
{
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST_F(PreferencesTest, KeysMatchIgnoringCaseWithOrWithoutSpaces)
{
    EXPECT_EQ(ReadFile("usekeys=1\n", "UseKeys"), "1");
    EXPECT_EQ(ReadFile("UseKeys = 1\r\n", "USEKEYS"), "1");
    EXPECT_EQ(ReadFile("UseKeys   =   42\n", "UseKeys"), "42");
    EXPECT_EQ(ReadFile("HiScore\t=\t4242\n", "HiScore"), "4242");
}

// The window toolkit sets the player's locale before the settings are read;
// a Turkish one has no capital of 'i' in ASCII.
TEST_F(PreferencesTest, KeysMatchIgnoringAsciiCaseInATurkishLocale)
{
    const fs::path locales = folder / "locales";
    fs::create_directory(locales);
    const std::string make = "localedef -i tr_TR -f UTF-8 " + (locales / "tr_TR.UTF-8").string() + " 2>/dev/null";
    if (std::system(make.c_str()) != 0)
        GTEST_SKIP() << "the locales package makes the Turkish locale";
    setenv("LOCPATH", locales.c_str(), 1);
    ASSERT_NE(setlocale(LC_ALL, "tr_TR.UTF-8"), nullptr);
    EXPECT_EQ(ReadFile("HISCORE = 5\r\n[TERVANE]\r\n", "HiScore"), "5");
    EXPECT_EQ(ReadFile("hiscore = 5\r\nHISCORE = 6\r\n", "HiScore"), "5");
    setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
}

TEST_F(PreferencesTest, ValueKeepsTrailingSpacesButNotTheLineEnd)
{
    EXPECT_EQ(ReadFile("UseAudio = 1   \r\nHiScore = 9\r\n", "UseAudio"), "1   ");
    EXPECT_EQ(ReadFile("UseAudio = 1\r\n", "UseAudio"), "1");
    EXPECT_EQ(ReadFile("UseAudio = 1", "UseAudio"), "1");
    EXPECT_EQ(ReadFile("UseAudio =\r\n", "UseAudio"), "");
}

TEST_F(PreferencesTest, SpacesIndentButTabsDoNot)
{
    EXPECT_EQ(ReadFile("   HiScore = 5\n", "HiScore"), "5");
    EXPECT_EQ(ReadFile("\tHiScore = 5\n", "HiScore"), "default");
}

TEST_F(PreferencesTest, CommentLinesAreSkipped)
{
    EXPECT_EQ(ReadFile(";HiScore = 5\n", "HiScore"), "default");
    EXPECT_EQ(ReadFile("  ; HiScore = 5\nHiScore = 6\n", "HiScore"), "6");
}

TEST_F(PreferencesTest, OnlyTheWholeKeyFollowedByEqualsMatches)
{
    EXPECT_EQ(ReadFile("UseKeysX = 1\n", "UseKeys"), "default");
    EXPECT_EQ(ReadFile("Use = 1\n", "UseKeys"), "default");
    EXPECT_EQ(ReadFile("UseKeys 1\nUseKeys\n", "UseKeys"), "default");
    EXPECT_EQ(ReadFile("UseKeysX = 1\nUseKeys = 2\n", "UseKeys"), "2");
}

TEST_F(PreferencesTest, AGroupHeaderEndsTheSearch)
{
    EXPECT_EQ(ReadFile("[Game]\nHiScore = 5\n", "HiScore"), "default");
    EXPECT_EQ(ReadFile("HiScore = 5\n[Game]\nUseKeys = 1\n", "HiScore"), "5");
    EXPECT_EQ(ReadFile("HiScore = 5\n[Game]\nUseKeys = 1\n", "UseKeys"), "default");
    // Only a '[' in the first column is a header.
    EXPECT_EQ(ReadFile("  [Game]\nHiScore = 5\n", "HiScore"), "5");
    // The file's own group, named after it, is read through.
    EXPECT_EQ(ReadFile("[Tervane]\nHiScore = 5\n", "HiScore"), "5");
    EXPECT_EQ(ReadFile("UseKeys = 1\r\n[tervane] \r\nHiScore = 5\r\n[Game]\r\nUse3D = 1\r\n", "HiScore"), "5");
    EXPECT_EQ(ReadFile("[Tervane]\nUse3D = 1\n[Game]\nHiScore = 5\n", "HiScore"), "default");
}

TEST_F(PreferencesTest, TheFirstOfTwoLinesWins)
{
    EXPECT_EQ(ReadFile("HiScore = 1\nHiScore = 2\n", "HiScore"), "1");
}

TEST_F(PreferencesTest, LookupsWithoutAReadableKeyOrFileGiveTheDefault)
{
    WriteFile("HiScore = 5\n");
    EXPECT_EQ(Read("HiScore"), "default");  // nothing open yet
    ASSERT_NE(QV_OpenPreferences(path.c_str()), nullptr);
    EXPECT_EQ(Read(""), "default");
    EXPECT_EQ(Read(nullptr), "default");
    EXPECT_EQ(Read("HiScore", nullptr), "5");
    EXPECT_EQ(Read("Missing", nullptr), "");
    QV_ClosePreferences();
    EXPECT_EQ(Read("HiScore"), "default");

    EXPECT_EQ(QV_OpenPreferences((folder / "absent.ini").c_str()), nullptr);
    EXPECT_EQ(Read("HiScore"), "default");
    EXPECT_EQ(QV_OpenPreferences(nullptr), nullptr);
    EXPECT_EQ(Read("HiScore"), "default");
}

TEST_F(PreferencesTest, ALookupWhileWritingGivesTheDefault)
{
    WriteFile("HiScore = 5\n");
    ASSERT_NE(QV_OpenPreferences(path.c_str()), nullptr);
    ASSERT_NE(QV_CreatePreferences(path.c_str()), nullptr);
    EXPECT_EQ(Read("HiScore"), "default");
}

TEST_F(PreferencesTest, ReadingFollowsTheStringAreaRules)
{
    WriteFile("UseKeys = 12\nUseAudio = 3\n");
    ASSERT_NE(QV_OpenPreferences(path.c_str()), nullptr);
    char* const start = QV_StringBase;
    char* const result = QV_ReadPreferenceString("UseKeys", "0", start);
    EXPECT_EQ(result, start);
    EXPECT_EQ(QV_StringBase, start + 2);
    EXPECT_EQ(*QV_StringBase, '\0');

    // A second producing call joins its text to the first.
    EXPECT_EQ(QV_ReadPreferenceString("UseAudio", "0", QV_StringBase), start + 2);
    EXPECT_STREQ(start, "123");
    EXPECT_EQ(QV_ReadPreferenceString("Missing", "77", QV_StringBase), start + 3);
    EXPECT_STREQ(start, "12377");
}

TEST_F(PreferencesTest, WritingProducesKeyEqualsValueLinesEndingInCrLf)
{
    ASSERT_NE(QV_CreatePreferences(path.c_str()), nullptr);
    QV_WritePreferenceString("HiScore", "250");
    QV_WritePreferenceString("Empty", nullptr);
    QV_WritePreferenceString("", "lost");
    QV_WritePreferenceString(nullptr, "lost");
    QV_ClosePreferences();
    EXPECT_EQ(FileBytes(), "HiScore = 250\r\nEmpty = \r\n");
    EXPECT_EQ(FileBytes().size(), 15u + 10u);

    // Without an open file nothing is written anywhere.
    QV_WritePreferenceString("HiScore", "1");
    EXPECT_EQ(FileBytes(), "HiScore = 250\r\nEmpty = \r\n");
}

TEST_F(PreferencesTest, WrittenFileReadsBack)
{
    ASSERT_NE(QV_CreatePreferences(path.c_str()), nullptr);
    QV_WritePreferenceString("UseKeys", "1");
    QV_WritePreferenceString("HiScore", "2147483647");
    ASSERT_NE(QV_OpenPreferences(path.c_str()), nullptr);  // closes the write first
    EXPECT_EQ(Read("UseKeys"), "1");
    EXPECT_EQ(Read("HiScore"), "2147483647");
}

TEST_F(PreferencesTest, TheOldFileStaysWholeUntilTheNewOneIsClosed)
{
    WriteFile("HiScore = 5\r\n");
    ASSERT_NE(QV_CreatePreferences(path.c_str()), nullptr);
    QV_WritePreferenceString("HiScore", "6");
    EXPECT_EQ(FileBytes(), "HiScore = 5\r\n");
    QV_FreePreferences();
    EXPECT_EQ(FileBytes(), "HiScore = 6\r\n");
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(PreferencesTest, CreationFailureWritesNothing)
{
    const std::string missingFolder = (folder / "missing" / "Tervane.ini").string();
    EXPECT_EQ(QV_CreatePreferences(missingFolder.c_str()), nullptr);
    QV_WritePreferenceString("HiScore", "1");
    QV_ClosePreferences();
    EXPECT_FALSE(fs::exists(missingFolder));
    EXPECT_EQ(QV_CreatePreferences(nullptr), nullptr);

    // A folder in the file's place cannot be replaced by the written file.
    fs::create_directory(path);
    EXPECT_EQ(QV_CreatePreferences(path.c_str()), nullptr);
    QV_WritePreferenceString("HiScore", "1");
    QV_ClosePreferences();
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(PreferencesTest, PermissionsAreThoseOfANewFileOrOfTheFileReplaced)
{
    const mode_t previous = umask(022);
    ASSERT_NE(QV_CreatePreferences(path.c_str()), nullptr);
    QV_ClosePreferences();
    umask(previous);
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);

    // Replacing a file keeps its permissions.
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    ASSERT_NE(QV_CreatePreferences(path.c_str()), nullptr);
    QV_ClosePreferences();
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(PreferencesTest, BinaryTextIsScannedSafely)
{
    const std::string bytes = "\0\0HiScore = 1\nUse3D = 7\0junk\nUseKeys\0= 2\nUseWindow = 4\n"s;
    EXPECT_EQ(ReadFile(bytes, "Use3D"), "7");
    EXPECT_EQ(ReadFile(bytes, "UseKeys"), "default");
    EXPECT_EQ(ReadFile(bytes, "UseWindow"), "4");
    EXPECT_EQ(ReadFile(std::string(4096, '\xff'), "UseWindow"), "default");
    EXPECT_EQ(ReadFile("", "UseWindow"), "default");
}

TEST_F(PreferencesTest, AValueLongerThanTheStringAreaIsCutAtItsEnd)
{
    const std::string value(3 * QV_StringAreaSize, '7');
    char* const start = QV_StringBase;
    EXPECT_EQ(ReadFile("HiScore = " + value + "\n", "HiScore").size(), static_cast<size_t>(QV_StringAreaSize - 1));
    EXPECT_EQ(QV_StringBase, start + QV_StringAreaSize - 1);
}

TEST_F(PreferencesTest, AHugeFileIsReadOnlyUpToTheSizeLimit)
{
    std::string bytes = "UseKeys = 1\n";
    bytes += std::string(QV_PreferenceMaxFileSize, '\n');
    bytes += "HiScore = 9\n";
    EXPECT_EQ(ReadFile(bytes, "UseKeys"), "1");
    EXPECT_EQ(ReadFile(bytes, "HiScore"), "default");
}

TEST_F(PreferencesTest, SomethingOtherThanAFileGivesTheDefaults)
{
    fs::create_directory(path);
    EXPECT_EQ(Read("HiScore"), "default");
    QV_OpenPreferences(path.c_str());
    EXPECT_EQ(Read("HiScore"), "default");
    fs::remove(path);

    // A pipe with no writer must not hang the start-up.
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_NE(QV_OpenPreferences(path.c_str()), nullptr);
    EXPECT_EQ(Read("HiScore"), "default");
}

TEST_F(PreferencesTest, ALaterFileNeverSeesTheTextOfAnEarlierOne)
{
    WriteFile("HiScore = 5\n");
    ASSERT_NE(QV_OpenPreferences(path.c_str()), nullptr);
    const std::string other = (folder / "other.ini").string();
    fs::create_directory(other);
    QV_OpenPreferences(other.c_str());
    EXPECT_EQ(Read("HiScore"), "default");
}

// ---- Line endings -------------------------------------------------------------

TEST_F(PreferencesTest, CrLfAndCrAloneEachEndALine)
{
    const std::string crOnly = "UseKeys = 1\rUseAudio = 0\rHiScore = 7\r";
    EXPECT_EQ(ReadFile(crOnly, "UseKeys"), "1");
    EXPECT_EQ(ReadFile(crOnly, "UseAudio"), "0");
    EXPECT_EQ(ReadFile(crOnly, "HiScore"), "7");
    const std::string mixed = "UseKeys = 1\r\nUseAudio = 0\nUse3D = 2\r\r\nHiScore = 7";
    EXPECT_EQ(ReadFile(mixed, "UseAudio"), "0");
    EXPECT_EQ(ReadFile(mixed, "Use3D"), "2");
    EXPECT_EQ(ReadFile(mixed, "HiScore"), "7");
    EXPECT_EQ(ReadFile("HiScore = 5\r[Game]\rUseKeys = 1\r", "UseKeys"), "default");
}

TEST_F(PreferencesTest, ALeadingByteOrderMarkIsSkipped)
{
    EXPECT_EQ(ReadFile("\xEF\xBB\xBFUseKeys = 1\r\n", "UseKeys"), "1");
    EXPECT_EQ(ReadFile("\xEF\xBB\xBF[Game]\r\nUseKeys = 1\r\n", "UseKeys"), "default");
    EXPECT_EQ(ReadFile("HiScore = 1\r\n\xEF\xBB\xBFUseKeys = 1\r\n", "UseKeys"), "default");
    EXPECT_EQ(ReadFile("\xEF\xBB", "UseKeys"), "default");
}

// ---- Settings file replacement -----------------------------------------------

TEST_F(PreferencesTest, AFileTheReaderDoesNotWhollyUnderstandIsReadAsFarAsItGoesAndNeverReplaced)
{
    const struct {
        const char* name;
        std::string bytes;
        int error;
    } cases[] = {
        {"UTF-16", "\xFF\xFEH\0i\0S\0c\0o\0r\0e\0 \0=\0 \0\x34\0\r\0\n\0"s, EILSEQ},
        {"two byte-order marks", "\xEF\xBB\xBF\xEF\xBB\xBFHiScore = 4242\r\n", EILSEQ},
        {"no equals sign", "HiScore: 4242\r\n", EILSEQ},
        {"indented with a tab", "\tHiScore = 4242\r\n", EILSEQ},
        {"another group", "HiScore = 4242\r\n[Other]\r\nName = x\r\n", EILSEQ},
        {"no key", "= 42\r\nHiScore = 4242\r\n", EILSEQ},
        {"a key twice", "HiScore = 100\r\nUseKeys = 1\r\nhiscore = 5000\r\n", EEXIST},
        {"past what is read", "HiScore = 4242\r\n" + std::string(QV_PreferenceMaxFileSize, '\n'), EFBIG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(c.bytes);
        ASSERT_NE(QV_OpenPreferences(path.c_str()), nullptr);
        EXPECT_EQ(QV_PreferencesUnderstood(), 0);
        EXPECT_EQ(errno, c.error);
        EXPECT_STREQ(QV_PreferenceKeyGivenTwice(), c.error == EEXIST ? "hiscore" : "");
        EXPECT_EQ(QV_CreatePreferences(path.c_str()), nullptr);
        EXPECT_EQ(errno, c.error);
        EXPECT_EQ(FileBytes(), c.bytes);
    }
    EXPECT_EQ(EntriesIn(folder), 1u);

    // What the writer writes, and what people add by hand, is understood.
    WriteFile("; mine\r\n\r\n \t\r\n[Tervane]\r\nHiScore\t= 5\rUseKeys=1\n");
    ASSERT_NE(QV_OpenPreferences(path.c_str()), nullptr);
    EXPECT_EQ(QV_PreferencesUnderstood(), 1);
    EXPECT_TRUE(WriteHiScoreSix());
    EXPECT_EQ(FileBytes(), "HiScore = 6\r\n");
}

// Root may write any file, but one whose mode lets no one write it, or no one
// read it, was meant to be left alone; run as the tests are, root in CI.
TEST_F(PreferencesTest, AFileWhoseModeForbidsReadingOrWritingIsLeftAloneEvenByRoot)
{
    for (const mode_t mode : {0444, 0200, 0}) {
        WriteFile("HiScore = 5000\r\n");
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        EXPECT_FALSE(WriteHiScoreSix()) << std::oct << mode;
        EXPECT_EQ(errno, EACCES);
        ASSERT_EQ(chmod(path.c_str(), 0600), 0);
        EXPECT_EQ(FileBytes(), "HiScore = 5000\r\n");
        fs::remove(path);
    }
}

// The kernel's protected-symlinks rule, kept whatever the system's setting: a
// link another user put in a shared sticky folder is not followed.
TEST_F(PreferencesTest, ALinkAnotherUserPlantedInASharedStickyFolderIsNotFollowed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can plant a link as another user";
    const fs::path victim = folder / "victim";
    std::ofstream(victim, std::ios::binary) << "HiScore = 1\r\n";
    ASSERT_EQ(chmod(folder.c_str(), 01777), 0);
    LinkAsUnprivilegedUser(victim, path);
    EXPECT_FALSE(WriteHiScoreSix());
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(BytesOf(victim), "HiScore = 1\r\n");
    EXPECT_TRUE(fs::is_symlink(path));

    // The folder's owner's own link is followed.
    fs::remove(path);
    fs::create_symlink(victim, path);
    EXPECT_TRUE(WriteHiScoreSix());
    EXPECT_EQ(BytesOf(victim), "HiScore = 6\r\n");
}

// The rule's other half: a link the sticky folder's owner made is followed
// by anyone, here by root in a folder that belongs to another user.
TEST_F(PreferencesTest, ALinkTheStickyFoldersOwnerMadeIsFollowed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can follow a link as another user than its owner";
    const fs::path target = folder / "target";
    std::ofstream(target, std::ios::binary) << "HiScore = 1\r\n";
    ASSERT_TRUE(GiveToUnprivilegedUser(folder));
    ASSERT_EQ(chmod(folder.c_str(), 01777), 0);
    LinkAsUnprivilegedUser(target, path);
    EXPECT_TRUE(WriteHiScoreSix());
    EXPECT_EQ(BytesOf(target), "HiScore = 6\r\n");
    EXPECT_TRUE(fs::is_symlink(path));
}

// A write that fails, here past the file size limit, never replaces the old
// file, and closing says so.
TEST_F(PreferencesTest, AFailedWriteKeepsTheOldFileAndSaysWhy)
{
    WriteFile("HiScore = 5000\r\n");
    EXPECT_EXIT(
        {
            std::signal(SIGXFSZ, SIG_IGN);
            LimitFileSize(4);
            const bool created = QV_CreatePreferences(path.c_str()) != nullptr;
            QV_WritePreferenceString("HiScore", "6");
            const bool failed = QV_ClosePreferences() == 0 && errno == EFBIG;
            std::_Exit(created && failed ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(FileBytes(), "HiScore = 5000\r\n");
    EXPECT_EQ(EntriesIn(folder), 1u) << "the temporary file is gone";
}

TEST_F(PreferencesTest, ReadingAndWritingLeaveNoDescriptorOpen)
{
    const auto descriptors = [] { return EntriesIn("/proc/self/fd"); };
    WriteFile("HiScore = 5\r\n");
    const size_t before = descriptors();
    ASSERT_NE(QV_OpenPreferences(path.c_str()), nullptr);
    EXPECT_EQ(Read("HiScore"), "5");
    QV_ClosePreferences();
    EXPECT_EQ(descriptors(), before);
    ASSERT_TRUE(WriteHiScoreSix());
    ASSERT_EQ(QV_LockPreferences(path.c_str(), 0), 1);
    QV_UnlockPreferences();
    EXPECT_EQ(descriptors(), before);
}

TEST_F(PreferencesTest, SymbolicLinksAreWrittenThroughToTheirFinalTarget)
{
    // Tervane.ini -> dotfiles/middle.ini -> tervane.ini, each link relative.
    const fs::path dotfiles = folder / "dotfiles";
    fs::create_directory(dotfiles);
    const fs::path target = dotfiles / "tervane.ini";
    std::ofstream(target, std::ios::binary) << "HiScore = 5\r\n";
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    fs::create_symlink("tervane.ini", dotfiles / "middle.ini");
    fs::create_symlink("dotfiles/middle.ini", path);

    ASSERT_TRUE(WriteHiScoreSix());
    EXPECT_EQ(fs::read_symlink(path), "dotfiles/middle.ini");
    EXPECT_EQ(BytesOf(target), "HiScore = 6\r\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(EntriesIn(folder), 2u);
    EXPECT_EQ(EntriesIn(dotfiles), 2u) << "the temporary file went beside the target";

    // A link to a file yet to be made makes it, with a new file's mode.
    fs::remove(target);
    const mode_t previous = umask(022);
    ASSERT_TRUE(WriteHiScoreSix());
    umask(previous);
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(BytesOf(target), "HiScore = 6\r\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0644));
}

TEST_F(PreferencesTest, AHardLinkedFileIsRewrittenInPlace)
{
    WriteFile("UseKeys = 1\r\nUseAudio = 0\r\nHiScore = 5\r\n");
    const fs::path other = folder / "backup.ini";
    fs::create_hard_link(path, other);
    struct stat before;
    ASSERT_EQ(stat(path.c_str(), &before), 0);

    ASSERT_TRUE(WriteHiScoreSix());
    struct stat after;
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(FileBytes(), "HiScore = 6\r\n");
    EXPECT_EQ(BytesOf(other), "HiScore = 6\r\n");
    EXPECT_EQ(EntriesIn(folder), 2u);
}

TEST_F(PreferencesTest, AnotherUsersFileKeepsItsOwner)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can write a file that belongs to someone else";
    WriteFile("HiScore = 5\r\n");
    const passwd* user = UnprivilegedUser();
    ASSERT_NE(user, nullptr);
    ASSERT_EQ(chown(path.c_str(), user->pw_uid, user->pw_gid), 0);
    ASSERT_TRUE(WriteHiScoreSix());
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, user->pw_uid);
    EXPECT_EQ(FileBytes(), "HiScore = 6\r\n");
}

TEST_F(PreferencesTest, ADeviceOrPipeInTheFilesPlaceIsNeverReplaced)
{
    fs::create_symlink("/dev/zero", path);
    EXPECT_FALSE(WriteHiScoreSix());
    EXPECT_EQ(fs::read_symlink(path), "/dev/zero");
    EXPECT_TRUE(fs::is_character_file("/dev/zero"));
    fs::remove(path);

    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_FALSE(WriteHiScoreSix());
    EXPECT_TRUE(fs::is_fifo(path));
    EXPECT_EQ(EntriesIn(folder), 1u);
}

TEST_F(PreferencesTest, TemporariesOfWritersThatAreGoneAreRemoved)
{
    const pid_t gone = fork();
    if (gone == 0)
        std::_Exit(0);
    ASSERT_GT(gone, 0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    const std::string stale = path + "." + std::to_string(gone) + ".tmp";
    const std::string live = path + "." + std::to_string(getppid()) + ".tmp";
    const std::string other = (folder / "Other.ini.").string() + std::to_string(gone) + ".tmp";
    for (const std::string& file : {stale, live, other})
        std::ofstream(file) << "HiScore = 1";

    ASSERT_TRUE(WriteHiScoreSix());
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live)) << "its writer may still rename it";
    EXPECT_TRUE(fs::exists(other));
    EXPECT_EQ(FileBytes(), "HiScore = 6\r\n");
}

// File modes, as a player meets them: each case runs as an unprivileged user
// in a child, in a folder that user owns; the parent then looks at the files.
class PreferencePermissionTest : public PreferencesTest {
protected:
    void SetUp() override
    {
        PreferencesTest::SetUp();
        ASSERT_TRUE(GiveToUnprivilegedUser(folder));
    }
};

TEST_F(PreferencePermissionTest, AFileThePlayerCannotReadIsNeverReplaced)
{
    EXPECT_EXIT(
        {
            BecomeUnprivileged();
            WriteFile("HiScore = 5000\r\n");
            chmod(path.c_str(), 0);
            const bool unreadable = QV_OpenPreferences(path.c_str()) == nullptr && errno == EACCES;
            std::_Exit(unreadable && !WriteHiScoreSix() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(FileBytes(), "HiScore = 5000\r\n");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::none);
    EXPECT_EQ(EntriesIn(folder), 1u);
}

TEST_F(PreferencePermissionTest, AReadOnlyOrWriteOnlyFileIsLeftAsItIs)
{
    for (const mode_t mode : {0444, 0200}) {
        EXPECT_EXIT(
            {
                BecomeUnprivileged();
                WriteFile("HiScore = 5000\r\n");
                chmod(path.c_str(), mode);
                std::_Exit(!WriteHiScoreSix() ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
        EXPECT_EQ(fs::status(path).permissions(), fs::perms(mode));
        chmod(path.c_str(), 0600);
        EXPECT_EQ(FileBytes(), "HiScore = 5000\r\n");
        EXPECT_EQ(EntriesIn(folder), 1u);
        fs::remove(path);
    }
}

TEST_F(PreferencePermissionTest, InAReadOnlyFolderAWritableFileIsRewrittenInPlace)
{
    EXPECT_EXIT(
        {
            BecomeUnprivileged();
            WriteFile("UseKeys = 1\r\nHiScore = 5\r\n");
            chmod(folder.c_str(), 0555);
            const bool rewritten = WriteHiScoreSix();
            const std::string absent = (folder / "absent.ini").string();
            std::_Exit(rewritten && QV_CreatePreferences(absent.c_str()) == nullptr ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(FileBytes(), "HiScore = 6\r\n");
    EXPECT_EQ(EntriesIn(folder), 1u);
}

}  // namespace
