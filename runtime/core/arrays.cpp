// Array blocks: a header word and a type word before element 0.
#include <cstdint>
#include <limits>

#include "runtime/core/arrays.h"
#include "runtime/core/strings.h"

namespace {

constexpr int64_t ArrayHeaderBytes = 2 * sizeof(int32_t);
constexpr int64_t Largest32 = std::numeric_limits<int32_t>::max();

// The number of elements the dimensions after the first describe (stride 0),
// or -1 when a count is negative or a product passes 32 bits.
int64_t CheckedStrideOfFirst(int32_t dimensionCount, const int32_t* counts)
{
    int64_t product = 1;
    for (int32_t k = dimensionCount - 1; k >= 1; --k) {
        if (counts[k] < 0) {
            return -1;
        }
        product *= counts[k];
        if (product > Largest32) {
            return -1;
        }
    }
    return counts[0] < 0 ? -1 : product;
}

// Entry k becomes the product of the counts after it; the last keeps its count.
void CountsToStrides(int32_t dimensionCount, int32_t* counts)
{
    int32_t stride = counts[dimensionCount - 1];
    for (int32_t k = dimensionCount - 2; k >= 0; --k) {
        const int32_t count = counts[k];
        counts[k] = stride;
        stride *= count;
    }
}

}  // namespace

void QV_FreeArray(void* elements)
{
    if (elements != nullptr) {
        SYS_FreeMemory(static_cast<char*>(elements) - ArrayHeaderBytes);
    }
}

int32_t* QV_AllocateArray(int32_t elementSize, int32_t upperBound, int32_t headerWord)
{
    if (elementSize < 0 || upperBound < -1) {
        return nullptr;
    }
    const int64_t bytes = ArrayHeaderBytes + int64_t{elementSize} * (int64_t{upperBound} + 1);
    if (bytes > Largest32) {
        return nullptr;
    }
    auto* words = static_cast<int32_t*>(SYS_AllocateMemory(static_cast<int32_t>(bytes)));
    if (words == nullptr) {
        return nullptr;
    }
    words[0] = headerWord;
    return words + 1;
}

int32_t* QV_AllocateArrayDims(int32_t elementSize, int32_t dimensionCount, int32_t* counts)
{
    if (dimensionCount < 2 || counts == nullptr) {
        return nullptr;
    }
    const int64_t strideOfFirst = CheckedStrideOfFirst(dimensionCount, counts);
    const int64_t total = strideOfFirst * counts[0];
    if (strideOfFirst < 0 || total > Largest32) {
        return nullptr;
    }
    int32_t* typeWord = QV_AllocateArray(elementSize, static_cast<int32_t>(total), counts[0]);
    if (typeWord != nullptr) {
        CountsToStrides(dimensionCount, counts);
    }
    return typeWord;
}
