// Linked lists with one current-element cursor, and arrays with a header
// word and a type word: the storage of the game's enemies, shots,
// explosions, level map and boss table. Both are zero-filled memory blocks.
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
    int32_t elementSize;    // the caller's data size plus the links
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

// ---- Arrays ---------------------------------------------------------------
//
// An array block holds a 32-bit header word, a 32-bit type word, then the
// elements; the array variable holds the address of element 0, 8 bytes into
// the block. A one-dimensional array with upper bound N holds N + 1
// elements. Element (i, j, ...) of a multi-dimensional array lies at index
// i * stride0 + j * stride1 + ..., the last dimension's stride being 1.

// Type words the game's declarations write.
inline constexpr int32_t QV_ArrayOfRecords = 7;
inline constexpr int32_t QV_ArrayOfIntegers = 5;

// Frees the block of the array whose element 0 is at `elements`; nullptr is
// ignored.
void QV_FreeArray(void* elements);

// Allocates a zero-filled block for elements 0 to `upperBound` and stores
// `headerWord` in its first word. Returns the address of the type word
// (element 0 lies 4 bytes further on), or nullptr when it cannot allocate
// or a size is negative.
int32_t* QV_AllocateArray(int32_t elementSize, int32_t upperBound, int32_t headerWord);

// Multi-dimensional form. `counts` holds the element count of each of the
// `dimensionCount` (at least 2) dimensions; entries 0 to d - 2 become, in
// place, the strides of those dimensions (the product of the counts after
// them) and the last entry keeps its count. Allocates as QV_AllocateArray
// with upper bound first count * stride0 (one element more than the array
// needs) and the first count as header word. Returns nullptr, with the
// table untouched, for fewer than 2 dimensions, a negative count, a size
// past 32 bits or a failed allocation.
int32_t* QV_AllocateArrayDims(int32_t elementSize, int32_t dimensionCount, int32_t* counts);

// Finishes a declaration from the type word an allocation returned: writes
// `typeCode` and points the variable at element 0 (nullptr on failure).
template <class T>
T* QV_SetArrayVariable(T*& variable, int32_t* typeWord, int32_t typeCode)
{
    if (typeWord == nullptr) {
        variable = nullptr;
        return nullptr;
    }
    *typeWord = typeCode;
    variable = reinterpret_cast<T*>(typeWord + 1);
    return variable;
}

// One array declaration: frees the variable's old block, allocates the new
// one and finishes it as above. Returns element 0, or nullptr (and a nullptr
// variable) on failure.
template <class T>
T* QV_DeclareArray(T*& variable, int32_t upperBound, int32_t typeCode)
{
    QV_FreeArray(variable);
    return QV_SetArrayVariable(variable, QV_AllocateArray(static_cast<int32_t>(sizeof(T)), upperBound, 0), typeCode);
}

template <class T>
T* QV_DeclareArrayDims(T*& variable, int32_t dimensionCount, int32_t* counts, int32_t typeCode)
{
    QV_FreeArray(variable);
    return QV_SetArrayVariable(
        variable, QV_AllocateArrayDims(static_cast<int32_t>(sizeof(T)), dimensionCount, counts), typeCode);
}
