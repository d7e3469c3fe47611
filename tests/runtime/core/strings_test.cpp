#include "runtime/core/strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace {

// ---- Memory blocks --------------------------------------------------------

bool AllZero(const void* block, size_t from, size_t to)
{
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (size_t i = from; i < to; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

TEST(Memory, BlocksStartZeroedAndGrowZeroed)
{
    auto* block = static_cast<char*>(SYS_AllocateMemory(10));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(AllZero(block, 0, 10));
    std::memset(block, 'x', 10);

    block = static_cast<char*>(SYS_ReAllocateMemory(block, 10, 20));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(block, 10), std::string(10, 'x'));
    EXPECT_TRUE(AllZero(block, 10, 20));

    block = static_cast<char*>(SYS_ReAllocateMemory(block, 20, 4));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(block, 4), "xxxx");
    SYS_FreeMemory(block);
    SYS_FreeMemory(nullptr);
}

TEST(Memory, FailuresReturnNullAndKeepTheOldBlock)
{
    EXPECT_EQ(SYS_AllocateMemory(-1), nullptr);
    EXPECT_EQ(SYS_AllocateMemoryWithSize(-1), nullptr);

    auto* block = static_cast<char*>(SYS_AllocateMemory(8));
    ASSERT_NE(block, nullptr);
    block[0] = 'k';
    EXPECT_EQ(SYS_ReAllocateMemory(block, 8, -1), nullptr);
    EXPECT_EQ(block[0], 'k');

    // A resize to nothing must not free the block behind a null result.
    block = static_cast<char*>(SYS_ReAllocateMemory(block, 8, 0));
    ASSERT_NE(block, nullptr);
    SYS_FreeMemory(block);
}

TEST(Memory, SizedBlocksRememberTheirSize)
{
    auto* block = static_cast<char*>(SYS_AllocateMemoryWithSize(6));
    ASSERT_NE(block, nullptr);
    int32_t stored = 0;
    std::memcpy(&stored, block - 4, 4);
    EXPECT_EQ(stored, 6);
    EXPECT_TRUE(AllZero(block, 0, 6));
    std::memset(block, 'y', 6);

    block = static_cast<char*>(SYS_ReAllocateMemoryWithSize(block, 16));
    ASSERT_NE(block, nullptr);
    std::memcpy(&stored, block - 4, 4);
    EXPECT_EQ(stored, 16);
    EXPECT_EQ(std::string(block, 6), "yyyyyy");
    EXPECT_TRUE(AllZero(block, 6, 16));
    SYS_FreeMemoryWithSize(block);

    EXPECT_EQ(SYS_ReAllocateMemoryWithSize(nullptr, 16), nullptr);
    SYS_FreeMemoryWithSize(nullptr);
}

// ---- The temporary area ---------------------------------------------------

class StringArea : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(QV_InitStrings(QV_StringAreaSize), 1); }
    void TearDown() override { QV_FreeStrings(); }

    // Runs a producing operation at a fresh base and returns its text.
    template <class Produce>
    static std::string Produced(Produce produce)
    {
        char* start = QV_StringBase;
        char* result = produce();
        EXPECT_EQ(result, start);
        EXPECT_EQ(QV_StringBase, start + std::strlen(start)) << "base not on the result's NUL";
        std::string text = start;
        QV_StringBase = start;
        return text;
    }
};

TEST_F(StringArea, StrGivesTheDecimalFormOfEveryValue)
{
    EXPECT_EQ(Produced([] { return QV_Str(0); }), "0");
    EXPECT_EQ(Produced([] { return QV_Str(-5); }), "-5");
    EXPECT_EQ(Produced([] { return QV_Str(1000); }), "1000");
    EXPECT_EQ(Produced([] { return QV_Str(2147483647); }), "2147483647");
    EXPECT_EQ(Produced([] { return QV_Str(std::numeric_limits<int32_t>::min()); }), "-2147483648");
}

TEST_F(StringArea, ProducingOperationsInARowJoinTheirResults)
{
    char* start = QV_StringBase;
    SYS_CopyString("ab");
    QV_Str(7);
    SYS_CopyString(nullptr);
    QV_Hex(255);
    EXPECT_STREQ(start, "ab7FF");
    EXPECT_EQ(QV_StringBase, start + 5);
}

TEST_F(StringArea, AllocateStringEndsTheExpressionAndReplacesTheOldText)
{
    char* variable = nullptr;
    char* start = QV_StringBase;
    SYS_CopyString("first");
    ASSERT_NE(SYS_AllocateString(&variable, start), nullptr);
    EXPECT_STREQ(variable, "first");
    EXPECT_EQ(QV_StringBase, start);

    // The old block is freed; LeakSanitizer would report it otherwise.
    QV_Str(42);
    SYS_AllocateString(&variable, start);
    EXPECT_STREQ(variable, "42");
    SYS_FreeString(variable);
}

TEST_F(StringArea, AllocateStringNeverCopiesPastTheBase)
{
    char* start = QV_StringBase;
    SYS_CopyString("abcdef");
    QV_StringBase = start + 3;
    char* variable = nullptr;
    SYS_AllocateString(&variable, start);
    EXPECT_STREQ(variable, "abc");
    SYS_FreeString(variable);
}

// The game's zero-padded score: a run of zeros, the number, the last six.
TEST_F(StringArea, ZeroPaddedScoreIdiom)
{
    char* variable = nullptr;
    for (const auto& [score, text] : {std::pair{1234, "001234"}, {0, "000000"}, {987654, "987654"}}) {
        char* start = QV_StringBase;
        SYS_CopyString("000000");
        QV_Str(score);
        ++QV_StringBase;
        QV_Right(start, 6, start);
        SYS_AllocateString(&variable, start);
        EXPECT_STREQ(variable, text);
        EXPECT_EQ(QV_StringBase, start);
    }
    SYS_FreeString(variable);
}

// A settings value read back: kept past its NUL while another is built.
TEST_F(StringArea, ResultKeptPastItsNulSurvivesTheNextExpression)
{
    char* saved = QV_StringBase;
    QV_Str(250);
    ++QV_StringBase;
    char* second = QV_StringBase;
    QV_Str(-1);
    EXPECT_EQ(QV_Val(saved), 250);
    EXPECT_EQ(QV_Val(second), -1);
    QV_StringBase = saved;
}

TEST_F(StringArea, DigitByDigitIdiom)
{
    const char* text = "093";
    int32_t digits[3];
    for (int32_t i = 1; i <= 3; ++i) {
        digits[i - 1] = QV_Val(QV_Mid(text, i, 1, QV_StringBase));
    }
    EXPECT_EQ(digits[0], 0);
    EXPECT_EQ(digits[1], 9);
    EXPECT_EQ(digits[2], 3);
}

// ---- Bounds of the area ---------------------------------------------------

TEST_F(StringArea, HugeValueIsCutShortAtTheAreasEnd)
{
    char* start = QV_StringBase;
    const std::string huge(100000, 'v');
    SYS_CopyString(huge.c_str());
    EXPECT_EQ(QV_StringBase, start + QV_StringAreaSize - 1);
    EXPECT_EQ(std::strlen(start), static_cast<size_t>(QV_StringAreaSize - 1));

    // Further producers find no room, and stepping past the last NUL
    // reaches the spare byte, which reads as empty; further steps stay on it.
    QV_Str(123456);
    QV_Space(100);
    EXPECT_EQ(std::strlen(start), static_cast<size_t>(QV_StringAreaSize - 1));
    ++QV_StringBase;
    EXPECT_EQ(Produced([] { return QV_Str(77); }), "");
    for (int step = 0; step < 2; ++step) {
        ++QV_StringBase;
        QV_StringBase += 1000;
        EXPECT_EQ(QV_StringBase, start + QV_StringAreaSize);
        EXPECT_EQ(QV_Val(QV_Str(77)), 0);
    }
}

TEST_F(StringArea, ProducersNearTheEndKeepTheirNulInside)
{
    char* last = QV_StringBase + QV_StringAreaSize - 3;
    QV_StringBase = last;
    QV_Str(-2147483647);
    EXPECT_STREQ(last, "-2");
    QV_StringBase = last;
    QV_Space(100000);
    EXPECT_STREQ(last, "  ");
    QV_StringBase = last;
    QV_Mid("abcdef", 2, -1, last);
    EXPECT_STREQ(last, "bc");
}

TEST(StringAreaBounds, NothingIsWrittenWithoutAnArea)
{
    QV_FreeStrings();
    EXPECT_EQ(QV_StringBase, nullptr);
    EXPECT_EQ(QV_Str(5), nullptr);
    ++QV_StringBase;
    EXPECT_EQ(QV_StringBase, nullptr);
    EXPECT_EQ(QV_Val(QV_Mid("123", 2, 1, QV_StringBase)), 0);

    char outside[4] = "abc";
    EXPECT_EQ(QV_Right("xyz", 2, outside), outside);
    EXPECT_STREQ(outside, "abc");

    EXPECT_EQ(QV_InitStrings(0), 0);
    EXPECT_EQ(QV_StringBase, nullptr);
}

// ---- Conversions and text functions ---------------------------------------

TEST(Val, ReadsLeadingDecimalNumbersAndClamps)
{
    EXPECT_EQ(QV_Val("  42abc"), 42);
    EXPECT_EQ(QV_Val("-7"), -7);
    EXPECT_EQ(QV_Val("+8"), 8);
    EXPECT_EQ(QV_Val(""), 0);
    EXPECT_EQ(QV_Val("abc"), 0);
    EXPECT_EQ(QV_Val(nullptr), 0);
    EXPECT_EQ(QV_Val("99999999999"), 2147483647);
    EXPECT_EQ(QV_Val("-99999999999"), std::numeric_limits<int32_t>::min());
}

TEST(TextQueries, LengthFirstByteAndSearch)
{
    EXPECT_EQ(QV_Len(nullptr), 0);
    EXPECT_EQ(QV_Len("hello"), 5);
    EXPECT_EQ(QV_Asc(nullptr), 0);
    EXPECT_EQ(QV_Asc("A"), 65);
    EXPECT_EQ(QV_Asc("\xff"), 255);

    EXPECT_EQ(QV_FindString("hello world", "o", 1), 5);
    EXPECT_EQ(QV_FindString("hello world", "o", 6), 8);
    EXPECT_EQ(QV_FindString("hello world", "o", -3), 5);
    EXPECT_EQ(QV_FindString("hello world", "o", 9), 0);
    EXPECT_EQ(QV_FindString("hello", "o", 50), 0);
    EXPECT_EQ(QV_FindString("hello", "", 1), 0);
    EXPECT_EQ(QV_FindString(nullptr, "a", 1), 0);
    EXPECT_EQ(QV_FindString("hello", nullptr, 1), 0);
}

TEST_F(StringArea, MidLeftAndRightPickPieces)
{
    EXPECT_EQ(Produced([] { return QV_Mid("12345", 2, 1, QV_StringBase); }), "2");
    EXPECT_EQ(Produced([] { return QV_Mid("12345", 0, 1, QV_StringBase); }), "1");
    EXPECT_EQ(Produced([] { return QV_Mid("12345", 1, 1, QV_StringBase); }), "1");
    EXPECT_EQ(Produced([] { return QV_Mid("12345", 9, 1, QV_StringBase); }), "");
    EXPECT_EQ(Produced([] { return QV_Mid("12345", 2, 0, QV_StringBase); }), "");
    EXPECT_EQ(Produced([] { return QV_Mid("12345", 2, -1, QV_StringBase); }), "2345");
    EXPECT_EQ(Produced([] { return QV_Mid("12345", 4, 10, QV_StringBase); }), "45");
    EXPECT_EQ(Produced([] { return QV_Mid(nullptr, 1, 3, QV_StringBase); }), "");

    EXPECT_EQ(Produced([] { return QV_Left("12345", 2, QV_StringBase); }), "12");
    EXPECT_EQ(Produced([] { return QV_Left("12345", 9, QV_StringBase); }), "12345");
    EXPECT_EQ(Produced([] { return QV_Left("12345", -1, QV_StringBase); }), "");

    EXPECT_EQ(Produced([] { return QV_Right("12345", 2, QV_StringBase); }), "45");
    EXPECT_EQ(Produced([] { return QV_Right("12345", 9, QV_StringBase); }), "12345");
    EXPECT_EQ(Produced([] { return QV_Right("12345", 0, QV_StringBase); }), "");
    EXPECT_EQ(Produced([] { return QV_Right("12345", -2, QV_StringBase); }), "");
    EXPECT_EQ(Produced([] { return QV_Right(nullptr, 2, QV_StringBase); }), "");
}

TEST_F(StringArea, PiecesOfTextBuiltInPlace)
{
    char* start = QV_StringBase;
    SYS_CopyString("000000123");
    QV_Right(start, 6, start);
    EXPECT_STREQ(start, "000123");
    EXPECT_EQ(QV_StringBase, start + 6);

    QV_Mid(start, 4, -1, start);
    EXPECT_STREQ(start, "123");
    QV_UCase(start, start);
    EXPECT_STREQ(start, "123");
}

TEST_F(StringArea, CaseAndTrimming)
{
    EXPECT_EQ(Produced([] { return QV_LCase("AbC-z\xc9", QV_StringBase); }), "abc-z\xc9");
    EXPECT_EQ(Produced([] { return QV_UCase("AbC-z\xe9", QV_StringBase); }), "ABC-Z\xe9");
    EXPECT_EQ(Produced([] { return QV_LTrim(" \t a b \t", QV_StringBase); }), "a b \t");
    EXPECT_EQ(Produced([] { return QV_RTrim(" \t a b \t", QV_StringBase); }), " \t a b");
    EXPECT_EQ(Produced([] { return QV_Trim(" \t a b \t", QV_StringBase); }), "a b");
    EXPECT_EQ(Produced([] { return QV_Trim(" \t ", QV_StringBase); }), "");
    EXPECT_EQ(Produced([] { return QV_Trim(nullptr, QV_StringBase); }), "");
    EXPECT_EQ(Produced([] { return QV_LCase(nullptr, QV_StringBase); }), "");
}

TEST_F(StringArea, NumberForms)
{
    EXPECT_EQ(Produced([] { return QV_Hex(0); }), "0");
    EXPECT_EQ(Produced([] { return QV_Hex(0x1A2B); }), "1A2B");
    EXPECT_EQ(Produced([] { return QV_Hex(-1); }), "FFFFFFFF");
    EXPECT_EQ(Produced([] { return QV_Bin(5); }), std::string(29, '0') + "101");
    EXPECT_EQ(Produced([] { return QV_Bin(std::numeric_limits<int32_t>::min()); }), "1" + std::string(31, '0'));
    EXPECT_EQ(Produced([] { return QV_Chr('A'); }), "A");
    EXPECT_EQ(Produced([] { return QV_Chr(0); }), "");
    EXPECT_EQ(Produced([] { return QV_Space(3); }), "   ");
    EXPECT_EQ(Produced([] { return QV_Space(70); }), std::string(70, ' '));
    EXPECT_EQ(Produced([] { return QV_Space(-4); }), "");
}

TEST(Itoa, WritesDecimalOnly)
{
    char buffer[12] = "untouched";
    EXPECT_EQ(QV_Itoa(123, buffer, 16), buffer);
    EXPECT_STREQ(buffer, "untouched");
    QV_Itoa(std::numeric_limits<int32_t>::min(), buffer, 10);
    EXPECT_STREQ(buffer, "-2147483648");
    QV_Itoa(0, buffer, 10);
    EXPECT_STREQ(buffer, "0");
}

// ---- String variables -----------------------------------------------------

TEST(StringVariables, FastAllocateCopiesAndFreesTheOldText)
{
    char* variable = nullptr;
    SYS_FastAllocateString(&variable, "one");
    EXPECT_STREQ(variable, "one");
    SYS_FastAllocateStringFree(&variable, "two");
    EXPECT_STREQ(variable, "two");
    SYS_FastAllocateStringFree(&variable, nullptr);
    EXPECT_EQ(variable, nullptr);
    SYS_FreeString(variable);
}

TEST(StringVariables, ComparisonsAreByteWiseWithNullAsEmpty)
{
    EXPECT_EQ(SYS_StringEqual(nullptr, ""), 1);
    EXPECT_EQ(SYS_StringEqual("abc", "abc"), 1);
    EXPECT_EQ(SYS_StringEqual("abc", "abd"), 0);
    EXPECT_EQ(SYS_StringInf("abc", "abd"), 1);
    EXPECT_EQ(SYS_StringInf("ab", "abc"), 1);
    EXPECT_EQ(SYS_StringInf("abc", "abc"), 0);
    EXPECT_EQ(SYS_StringSup("\xff", "a"), 1);
    EXPECT_EQ(SYS_StringInf(nullptr, "a"), 1);
    EXPECT_EQ(SYS_StringSup(nullptr, nullptr), 0);
}

TEST(StringVariables, ConvertFilenameTurnsBackslashesAndFits)
{
    char name[16];
    SYS_ConvertFilename("data\\sounds\\a.wav", name, 16);
    EXPECT_STREQ(name, "data/sounds/a.w");
    SYS_ConvertFilename("a\\b", name, 16);
    EXPECT_STREQ(name, "a/b");
    SYS_ConvertFilename(nullptr, name, 16);
    EXPECT_STREQ(name, "");
    SYS_ConvertFilename("abc", name, 0);
    EXPECT_STREQ(name, "");
}

// ---- Peek and poke --------------------------------------------------------

TEST_F(StringArea, PeekAndPokeRoundTripAtUnalignedAddresses)
{
    unsigned char memory[16] = {};
    QV_PokeB(memory + 1, -3);
    EXPECT_EQ(QV_PeekB(memory + 1), -3);
    QV_PokeW(memory + 3, -30000);
    EXPECT_EQ(QV_PeekW(memory + 3), -30000);
    QV_PokeW(memory + 3, 0x12345);
    EXPECT_EQ(QV_PeekW(memory + 3), 0x2345);
    QV_PokeL(memory + 5, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(QV_PeekL(memory + 5), std::numeric_limits<int32_t>::min());
    QV_PokeF(memory + 9, 1.5f);
    EXPECT_EQ(QV_PeekF(memory + 9), 1.5f);

    QV_PokeS(memory, "xyz");
    EXPECT_EQ(Produced([&] { return QV_PeekS(memory); }), "xyz");
    EXPECT_EQ(memory[3], 0);
}

}  // namespace
