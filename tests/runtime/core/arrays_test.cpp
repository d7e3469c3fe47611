#include "runtime/core/arrays.h"
#include "tests/runtime/core/array_blocks.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Bullet {
    int32_t words[4];
};

struct Boss {
    int32_t words[9];
};

TEST(Array, OneDimensionalBlocksHoldUpperBoundPlusOneElements)
{
    Bullet* bullets = nullptr;
    ASSERT_NE(QV_DeclareArray(bullets, 11, QV_ArrayOfRecords), nullptr);
    EXPECT_BLOCK_BYTES(bullets, 200);
    EXPECT_EQ(reinterpret_cast<int32_t*>(bullets)[-1], QV_ArrayOfRecords);
    for (int i = 0; i <= 11; ++i) {
        for (int32_t word : bullets[i].words) {
            ASSERT_EQ(word, 0);
        }
    }

    Boss* bosses = nullptr;
    QV_DeclareArray(bosses, 4, QV_ArrayOfRecords);
    EXPECT_BLOCK_BYTES(bosses, 188);

    // Declaring again frees the old block (LeakSanitizer checks) and
    // starts from zero.
    bullets[3].words[2] = 42;
    QV_DeclareArray(bullets, 11, QV_ArrayOfRecords);
    EXPECT_EQ(bullets[3].words[2], 0);

    QV_FreeArray(bullets);
    QV_FreeArray(bosses);
    QV_FreeArray(nullptr);
}

TEST(Array, AllocateArrayStoresTheHeaderWordBeforeTheTypeWord)
{
    int32_t* typeWord = QV_AllocateArray(4, 2, 123);
    ASSERT_NE(typeWord, nullptr);
    EXPECT_EQ(typeWord[-1], 123);
    EXPECT_EQ(typeWord[0], 0);
    QV_FreeArray(typeWord + 1);

    int32_t* empty = QV_AllocateArray(4, -1, 0);
    ASSERT_NE(empty, nullptr);
    QV_FreeArray(empty + 1);
}

TEST(Array, LevelMapDimensionsBecomeStrides)
{
    int32_t counts[2] = {401, 16};
    int32_t* map = nullptr;
    ASSERT_NE(QV_DeclareArrayDims(map, 2, counts, QV_ArrayOfIntegers), nullptr);
    EXPECT_EQ(counts[0], 16);
    EXPECT_EQ(counts[1], 16);
    EXPECT_EQ(map[-2], 401);
    EXPECT_EQ(map[-1], QV_ArrayOfIntegers);
    EXPECT_BLOCK_BYTES(map, 8 + 4 * 6417);

    for (int32_t row = 0; row <= 400; ++row) {
        for (int32_t column = 0; column < 16; ++column) {
            map[row * counts[0] + column] = row * 100 + column;
        }
    }
    EXPECT_EQ(map[400 * 16 + 15], 40015);
    EXPECT_EQ(map[6416], 0);
    QV_FreeArray(map);
}

TEST(Array, ThreeDimensionsMultiplyTheLaterCounts)
{
    int32_t counts[3] = {2, 3, 4};
    int32_t* typeWord = QV_AllocateArrayDims(4, 3, counts);
    ASSERT_NE(typeWord, nullptr);
    EXPECT_EQ(counts[0], 12);
    EXPECT_EQ(counts[1], 4);
    EXPECT_EQ(counts[2], 4);
    EXPECT_EQ(typeWord[-1], 2);
    EXPECT_BLOCK_BYTES(typeWord + 1, 8 + 4 * 25);
    QV_FreeArray(typeWord + 1);
}

TEST(Array, ImpossibleSizesFailWithoutTouchingTheTable)
{
    EXPECT_EQ(QV_AllocateArray(-4, 3, 0), nullptr);
    EXPECT_EQ(QV_AllocateArray(4, -2, 0), nullptr);
    EXPECT_EQ(QV_AllocateArray(16, std::numeric_limits<int32_t>::max(), 0), nullptr);

    int32_t one[1] = {5};
    EXPECT_EQ(QV_AllocateArrayDims(4, 1, one), nullptr);
    EXPECT_EQ(one[0], 5);
    int32_t negative[2] = {3, -1};
    EXPECT_EQ(QV_AllocateArrayDims(4, 2, negative), nullptr);
    EXPECT_EQ(negative[0], 3);
    int32_t huge[3] = {2, 65536, 65536};
    EXPECT_EQ(QV_AllocateArrayDims(4, 3, huge), nullptr);
    EXPECT_EQ(huge[0], 2);
    EXPECT_EQ(huge[1], 65536);

    int32_t* map = nullptr;
    QV_DeclareArray(map, 3, QV_ArrayOfIntegers);
    int32_t tooBig[2] = {65536, 65536};
    EXPECT_EQ(QV_DeclareArrayDims(map, 2, tooBig, QV_ArrayOfIntegers), nullptr);
    EXPECT_EQ(map, nullptr);
}

}  // namespace
