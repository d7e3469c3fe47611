#include "runtime/core/lists.h"
#include "tests/runtime/core/array_blocks.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

struct Record {
    int32_t value;
    int32_t other;
};

int32_t ValueOf(QV_ListElement* element)
{
    return static_cast<Record*>(QV_ElementData(element))->value;
}

class List : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(QV_NewList(&list, sizeof(Record)), nullptr); }
    void TearDown() override { QV_FreeList(&list); }

    // Appends records with these values, each after the one before.
    void Fill(std::vector<int32_t> values)
    {
        QV_LastElement(&list);
        for (int32_t value : values) {
            ASSERT_NE(QV_AddElement(&list), nullptr);
            QV_CurrentRecord<Record>(list)->value = value;
        }
    }

    // The values from first to last, checking the backward links and the
    // header's ends on the way.
    std::vector<int32_t> Values()
    {
        std::vector<int32_t> values;
        QV_ListElement* previous = nullptr;
        for (QV_ListElement* element = list.header->first; element != nullptr; element = element->next) {
            EXPECT_EQ(element->previous, previous);
            values.push_back(ValueOf(element));
            previous = element;
        }
        EXPECT_EQ(list.header->last, previous);
        return values;
    }

    QV_List list{};
};

TEST_F(List, NewListSizesElementsForTheRecordAndItsLinks)
{
    EXPECT_EQ(list.header->elementSize, static_cast<int32_t>(sizeof(Record) + sizeof(QV_ListElement)));
    EXPECT_EQ(list.header->first, nullptr);
    EXPECT_EQ(list.current, nullptr);

    QV_List bad{};
    EXPECT_EQ(QV_NewList(&bad, -1), nullptr);
    EXPECT_EQ(QV_NewList(&bad, std::numeric_limits<int32_t>::max()), nullptr);
    EXPECT_EQ(bad.header, nullptr);
}

TEST_F(List, AddedElementsAreZeroedAndFollowTheCurrentOne)
{
    QV_ListElement* first = QV_AddElement(&list);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(list.current, first);
    EXPECT_EQ(QV_CurrentRecord<Record>(list)->value, 0);
    EXPECT_EQ(QV_CurrentRecord<Record>(list)->other, 0);
    QV_CurrentRecord<Record>(list)->value = 1;
    QV_AddElement(&list);
    QV_CurrentRecord<Record>(list)->value = 2;
    EXPECT_EQ(Values(), (std::vector<int32_t>{1, 2}));

    // After a reset the new element goes to the front...
    QV_ResetList(&list);
    QV_AddElement(&list);
    QV_CurrentRecord<Record>(list)->value = 0;
    EXPECT_EQ(Values(), (std::vector<int32_t>{0, 1, 2}));

    // ...and from the middle it goes in after the current element.
    QV_SelectElement(&list, 1);
    QV_AddElement(&list);
    QV_CurrentRecord<Record>(list)->value = 9;
    EXPECT_EQ(Values(), (std::vector<int32_t>{0, 1, 9, 2}));
    EXPECT_EQ(QV_CountList(&list), 4);
}

TEST_F(List, InsertedElementsPrecedeTheCurrentOne)
{
    Fill({1, 2});
    QV_FirstElement(&list);
    QV_InsertElement(&list);
    QV_CurrentRecord<Record>(list)->value = 0;
    QV_LastElement(&list);
    QV_InsertElement(&list);
    QV_CurrentRecord<Record>(list)->value = 5;
    QV_ResetList(&list);
    QV_InsertElement(&list);
    QV_CurrentRecord<Record>(list)->value = -1;
    EXPECT_EQ(Values(), (std::vector<int32_t>{-1, 0, 1, 5, 2}));
}

TEST_F(List, NextElementStopsOnTheLastElement)
{
    EXPECT_EQ(QV_NextElement(&list), nullptr);
    EXPECT_EQ(list.current, nullptr);

    Fill({1, 2});
    QV_ResetList(&list);
    EXPECT_EQ(ValueOf(QV_NextElement(&list)), 1);
    QV_ListElement* last = QV_NextElement(&list);
    EXPECT_EQ(ValueOf(last), 2);
    EXPECT_EQ(QV_NextElement(&list), nullptr);
    EXPECT_EQ(list.current, last);
}

TEST_F(List, WalkDeletingEveryVisitedElementSkipsTheSecond)
{
    Fill({1, 2, 3, 4});
    std::vector<int32_t> visited;
    QV_ResetList(&list);
    while (QV_NextElement(&list) != nullptr) {
        visited.push_back(QV_CurrentRecord<Record>(list)->value);
        QV_DeleteElement(&list);
    }
    EXPECT_EQ(visited, (std::vector<int32_t>{1, 3, 4}));
    EXPECT_EQ(Values(), (std::vector<int32_t>{2}));
}

TEST_F(List, WalkDeletingInTheMiddleReachesEveryFollower)
{
    Fill({1, 2, 3, 4, 5});
    std::vector<int32_t> visited;
    QV_ResetList(&list);
    while (QV_NextElement(&list) != nullptr) {
        visited.push_back(QV_CurrentRecord<Record>(list)->value);
        if (QV_CurrentRecord<Record>(list)->value % 2 == 0) {
            QV_DeleteElement(&list);
        }
    }
    EXPECT_EQ(visited, (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Values(), (std::vector<int32_t>{1, 3, 5}));
}

TEST_F(List, DeletionMovesTheCursorBack)
{
    QV_DeleteElement(&list);
    EXPECT_EQ(list.current, nullptr);

    Fill({1, 2, 3});
    QV_DeleteElement(&list);  // the last
    EXPECT_EQ(QV_CurrentRecord<Record>(list)->value, 2);
    QV_FirstElement(&list);
    QV_DeleteElement(&list);  // the first
    EXPECT_EQ(QV_CurrentRecord<Record>(list)->value, 2);
    QV_DeleteElement(&list);  // the only one
    EXPECT_EQ(list.current, nullptr);
    EXPECT_EQ(Values(), std::vector<int32_t>{});

    QV_ResetList(&list);
    Fill({1});
    QV_ResetList(&list);
    QV_DeleteElement(&list);
    EXPECT_EQ(QV_CountList(&list), 1);
}

TEST_F(List, ClearingLeavesAnEmptyUsableList)
{
    for (int32_t length : {0, 1, 2, 5}) {
        std::vector<int32_t> values;
        for (int32_t v = 1; v <= length; ++v) {
            values.push_back(v);
        }
        Fill(values);
        QV_ClearList(&list);
        EXPECT_EQ(QV_CountList(&list), 0);
        EXPECT_EQ(list.header->first, nullptr);
        EXPECT_EQ(list.header->last, nullptr);
        EXPECT_EQ(list.current, nullptr);
        Fill({7});
        EXPECT_EQ(Values(), std::vector<int32_t>{7});
        QV_ClearList(&list);
    }
}

TEST_F(List, CursorMovesAndPositions)
{
    EXPECT_EQ(QV_ListIndex(&list), -1);
    EXPECT_EQ(QV_FirstElement(&list), nullptr);
    EXPECT_EQ(QV_LastElement(&list), nullptr);

    Fill({10, 11, 12});
    EXPECT_EQ(QV_ListIndex(&list), 2);
    EXPECT_EQ(ValueOf(QV_PreviousElement(&list)), 11);
    EXPECT_EQ(QV_ListIndex(&list), 1);
    EXPECT_EQ(ValueOf(QV_FirstElement(&list)), 10);
    EXPECT_EQ(QV_PreviousElement(&list), nullptr);
    EXPECT_EQ(QV_ListIndex(&list), 0);
    QV_ResetList(&list);
    EXPECT_EQ(QV_PreviousElement(&list), nullptr);

    EXPECT_EQ(ValueOf(QV_SelectElement(&list, 2)), 12);
    EXPECT_EQ(QV_SelectElement(&list, 5), nullptr);
    EXPECT_EQ(QV_ListIndex(&list), 2);
    EXPECT_EQ(QV_SelectElement(&list, -1), nullptr);
    EXPECT_EQ(QV_ListIndex(&list), -1);

    QV_ListElement* middle = QV_SelectElement(&list, 1);
    QV_LastElement(&list);
    QV_ChangeCurrentElement(&list, QV_ElementData(middle));
    EXPECT_EQ(list.current, middle);
    EXPECT_EQ(QV_ElementData(nullptr), nullptr);
}

TEST(ListWithoutHeader, ReadsAsEmptyAndCannotGrow)
{
    QV_List list{};
    EXPECT_EQ(QV_AddElement(&list), nullptr);
    EXPECT_EQ(QV_InsertElement(&list), nullptr);
    EXPECT_EQ(QV_NextElement(&list), nullptr);
    EXPECT_EQ(QV_CountList(&list), 0);
    QV_ClearList(&list);
    EXPECT_EQ(list.header, nullptr);
    EXPECT_EQ(list.current, nullptr);
}

// ---- Arrays ---------------------------------------------------------------

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

} // namespace
