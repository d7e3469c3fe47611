#include "runtime/prefs/preferences.h"

#include "runtime/core/strings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>

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

    void WriteFile(const std::string& bytes) const
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }

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

TEST_F(PreferencesTest, KeysMatchIgnoringCaseWithOrWithoutSpaces)
{
    EXPECT_EQ(ReadFile("usekeys=1\n", "UseKeys"), "1");
    EXPECT_EQ(ReadFile("UseKeys = 1\r\n", "USEKEYS"), "1");
    EXPECT_EQ(ReadFile("UseKeys   =   42\n", "UseKeys"), "42");
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
    EXPECT_EQ(ReadFile("HiScore = " + value + "\n", "HiScore").size(),
              static_cast<size_t>(QV_StringAreaSize - 1));
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

}  // namespace
