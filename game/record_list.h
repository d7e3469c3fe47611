// A runtime list of one record type that lives as long as its owner: empty
// when made, released when gone. A state struct holding such lists is reset
// by assigning it afresh, like one holding only numbers.
#pragma once

#include "runtime/core/lists.h"

#include <cstdint>
#include <utility>

template <class Record>
struct RecordList : QV_List {
    RecordList() : QV_List{} { QV_NewList(this, static_cast<int32_t>(sizeof(Record))); }
    RecordList(RecordList&& other) noexcept : QV_List(std::exchange<QV_List>(other, QV_List{})) {}
    RecordList& operator=(RecordList&& other) noexcept
    {
        std::swap(static_cast<QV_List&>(*this), static_cast<QV_List&>(other));
        return *this;
    }
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;
    ~RecordList() { QV_FreeList(this); }

    // Hands every record, from the first on, to `visit`, which may delete the
    // current element: the walk then goes on as QV_DeleteElement leaves the
    // cursor.
    template <class Visit>
    void Walk(Visit visit)
    {
        QV_ResetList(this);
        while (QV_NextElement(this) != nullptr)
            visit(*QV_CurrentRecord<Record>(*this));
    }
};
