#include "runtime/core/lists.h"

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

}  // namespace
