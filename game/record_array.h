// A runtime array of records (or of 32-bit integers) that lives as long as
// its owner: declared, zero-filled, when made and freed when gone. A state
// struct holding one is reset by assigning it afresh, which declares the
// array anew. `Counts` gives each dimension's element count, upper bound
// + 1; element (i, j) of a two-dimensional array lies at index
// i * second count + j.
#pragma once

#include "runtime/core/arrays.h"

#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

template <class Element, int32_t... Counts>
class RecordArray {
    // The block is runtime memory, zero-filled and never constructed.
    static_assert(std::is_trivial_v<Element>);
    static_assert(sizeof...(Counts) >= 1 && ((Counts >= 1) && ...));

    static constexpr int32_t TypeWord = std::is_same_v<Element, int32_t> ? QV_ArrayOfIntegers : QV_ArrayOfRecords;

public:
    RecordArray()
    {
        if constexpr (sizeof...(Counts) == 1) {
            QV_DeclareArray(elements_, (Counts - 1)..., TypeWord);
        } else {
            int32_t counts[] = {Counts...};
            QV_DeclareArrayDims(elements_, static_cast<int32_t>(sizeof...(Counts)), counts, TypeWord);
        }
        if (elements_ == nullptr)
            throw std::bad_alloc();
    }
    RecordArray(RecordArray&& other) noexcept : elements_(std::exchange(other.elements_, nullptr)) {}
    RecordArray& operator=(RecordArray&& other) noexcept
    {
        std::swap(elements_, other.elements_);
        return *this;
    }
    RecordArray(const RecordArray&) = delete;
    RecordArray& operator=(const RecordArray&) = delete;
    ~RecordArray() { QV_FreeArray(elements_); }

    Element& operator[](int32_t index) { return elements_[index]; }
    const Element& operator[](int32_t index) const { return elements_[index]; }

private:
    Element* elements_ = nullptr;
};
