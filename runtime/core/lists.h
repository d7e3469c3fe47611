// Linked lists with one current-element cursor: the storage of the game's
// enemies, shots and explosions, each element a zero-filled memory block.
// The arrays of the same layer are in arrays.h.
#pragma once

#include <cstdint>

// ---- Linked lists ---------------------------------------------------------
//
// Every list operation works through the list variable's cursor. The game
// walks a list with QV_ResetList then QV_NextElement until it returns
// nullptr, deleting elements as it goes, so the cursor's behaviour on
// deletion is part of the contract:
//  - deleting an element puts the cursor on the element before it, so the
//    walk's next step reaches the element that followed the deleted one;
//  - deleting the first element puts the cursor on its successor instead,
//    so the walk's next step moves past that successor, which this walk
//    then never visits. Deleting every element a walk visits on 1, 2, 3, 4
//    therefore leaves 2.

// The links; the caller's record follows them in the same block.
struct QV_ListElement {
    QV_ListElement* next;      // nullptr at the end
    QV_ListElement* previous;  // nullptr at the start
};

struct QV_ListHeader {
    QV_ListElement* first;  // both nullptr for an empty list
    QV_ListElement* last;
    int32_t elementSize;  // the caller's data size plus the links
};

// The list variable, zero-initialised before QV_NewList.
struct QV_List {
    QV_ListHeader* header;
    QV_ListElement* current;  // nullptr: before the first element
};

// Creates the list's header for records of `dataSize` bytes. Returns the
// header, or nullptr when it cannot allocate or `dataSize` is negative.
QV_ListHeader* QV_NewList(QV_List* list, int32_t dataSize);
// Empties the list and releases its header; the variable is zero again.
void QV_FreeList(QV_List* list);

// Links a zero-filled element in after the current one (at the front when
// there is none) and makes it current. Returns it, or nullptr when it
// cannot allocate, with the list unchanged.
QV_ListElement* QV_AddElement(QV_List* list);
// As QV_AddElement, but links the new element in before the current one.
QV_ListElement* QV_InsertElement(QV_List* list);
// Unlinks and frees the current element, moving the cursor as described
// above; nothing when there is no current element.
void QV_DeleteElement(QV_List* list);
// Frees every element; the list stays usable, with no current element.
void QV_ClearList(QV_List* list);
// Number of elements, counted along the chain.
int32_t QV_CountList(QV_List* list);

// No current element: the next QV_NextElement starts at the first.
void QV_ResetList(QV_List* list);

// Cursor moves. Each returns the new current element, or nullptr.
// The first element when there is no current one, otherwise the next; at
// the end it returns nullptr and the cursor stays on the last element.
QV_ListElement* QV_NextElement(QV_List* list);
// The previous element; nullptr at the start (the cursor stays) and when
// there is no current element.
QV_ListElement* QV_PreviousElement(QV_List* list);
QV_ListElement* QV_FirstElement(QV_List* list);
QV_ListElement* QV_LastElement(QV_List* list);
// 0-based position of the current element, -1 when there is none.
int32_t QV_ListIndex(QV_List* list);
// Makes element number `index` (0-based) current, by the cursor moves above.
QV_ListElement* QV_SelectElement(QV_List* list, int32_t index);
// Makes current the element whose record starts at `data`.
void QV_ChangeCurrentElement(QV_List* list, void* data);

// The caller's record, just after the links; nullptr for nullptr.
void* QV_ElementData(QV_ListElement* element);

// Typed view of the current element's record (nullptr when none).
template <class Record>
Record* QV_CurrentRecord(QV_List& list)
{
    return static_cast<Record*>(QV_ElementData(list.current));
}
