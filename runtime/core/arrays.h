// Arrays with a header word and a type word: the storage of the game's
// bullets, boss records and level map, each a zero-filled memory block.
//
// An array block holds a 32-bit header word, a 32-bit type word, then the
// elements; the array variable holds the address of element 0, 8 bytes into
// the block. A one-dimensional array with upper bound N holds N + 1
// elements. Element (i, j, ...) of a multi-dimensional array lies at index
// i * stride0 + j * stride1 + ..., the last dimension's stride being 1.
#pragma once

#include <cstdint>

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
    return QV_SetArrayVariable(variable, QV_AllocateArrayDims(static_cast<int32_t>(sizeof(T)), dimensionCount, counts),
                               typeCode);
}
