// Doubly linked lists walked through one current-element cursor.
//
// A list variable whose header was never created reads as an empty list
// that cannot grow, rather than being followed through a null header.
#include <limits>

#include "runtime/core/lists.h"
#include "runtime/core/strings.h"

namespace {

constexpr int32_t LinkBytes = static_cast<int32_t>(sizeof(QV_ListElement));

QV_ListElement* FirstOf(const QV_List* list)
{
    return list->header != nullptr ? list->header->first : nullptr;
}

// Puts `element` between `previous` and `next` (either may be nullptr, at an
// end of the list) and makes it current.
QV_ListElement* LinkBetween(QV_List* list, QV_ListElement* previous, QV_ListElement* next, QV_ListElement* element)
{
    element->previous = previous;
    element->next = next;
    (previous != nullptr ? previous->next : list->header->first) = element;
    (next != nullptr ? next->previous : list->header->last) = element;
    list->current = element;
    return element;
}

QV_ListElement* NewElement(const QV_List* list)
{
    return list->header != nullptr ? static_cast<QV_ListElement*>(SYS_AllocateMemory(list->header->elementSize))
                                   : nullptr;
}

}  // namespace

QV_ListHeader* QV_NewList(QV_List* list, int32_t dataSize)
{
    if (dataSize < 0 || dataSize > std::numeric_limits<int32_t>::max() - LinkBytes) {
        return nullptr;
    }
    auto* header = static_cast<QV_ListHeader*>(SYS_AllocateMemory(sizeof(QV_ListHeader)));
    if (header != nullptr) {
        header->elementSize = dataSize + LinkBytes;
        list->header = header;
    }
    return header;
}

void QV_FreeList(QV_List* list)
{
    QV_ClearList(list);
    SYS_FreeMemory(list->header);
    *list = QV_List{};
}

QV_ListElement* QV_AddElement(QV_List* list)
{
    QV_ListElement* element = NewElement(list);
    if (element == nullptr) {
        return nullptr;
    }
    QV_ListElement* current = list->current;
    return LinkBetween(list, current, current != nullptr ? current->next : list->header->first, element);
}

QV_ListElement* QV_InsertElement(QV_List* list)
{
    QV_ListElement* element = NewElement(list);
    if (element == nullptr) {
        return nullptr;
    }
    QV_ListElement* current = list->current;
    return current != nullptr ? LinkBetween(list, current->previous, current, element)
                              : LinkBetween(list, nullptr, list->header->first, element);
}

void QV_DeleteElement(QV_List* list)
{
    QV_ListElement* deleted = list->current;
    if (deleted == nullptr) {
        return;
    }
    QV_ListElement* previous = deleted->previous;
    QV_ListElement* next = deleted->next;
    (previous != nullptr ? previous->next : list->header->first) = next;
    (next != nullptr ? next->previous : list->header->last) = previous;
    // Back to the previous element, so a walk's next step reaches `next`;
    // the first element has none, so its successor becomes current and the
    // walk's next step moves past it.
    list->current = previous != nullptr ? previous : next;
    SYS_FreeMemory(deleted);
}

void QV_ClearList(QV_List* list)
{
    QV_ListElement* element = FirstOf(list);
    while (element != nullptr) {
        QV_ListElement* next = element->next;
        SYS_FreeMemory(element);
        element = next;
    }
    if (list->header != nullptr) {
        list->header->first = nullptr;
        list->header->last = nullptr;
    }
    list->current = nullptr;
}

int32_t QV_CountList(QV_List* list)
{
    int32_t count = 0;
    for (const QV_ListElement* element = FirstOf(list); element != nullptr; element = element->next) {
        ++count;
    }
    return count;
}

void QV_ResetList(QV_List* list)
{
    list->current = nullptr;
}

QV_ListElement* QV_NextElement(QV_List* list)
{
    if (list->current == nullptr) {
        list->current = FirstOf(list);
        return list->current;
    }
    if (list->current->next == nullptr) {
        return nullptr;
    }
    list->current = list->current->next;
    return list->current;
}

QV_ListElement* QV_PreviousElement(QV_List* list)
{
    if (list->current == nullptr || list->current->previous == nullptr) {
        return nullptr;
    }
    list->current = list->current->previous;
    return list->current;
}

QV_ListElement* QV_FirstElement(QV_List* list)
{
    list->current = FirstOf(list);
    return list->current;
}

QV_ListElement* QV_LastElement(QV_List* list)
{
    list->current = list->header != nullptr ? list->header->last : nullptr;
    return list->current;
}

int32_t QV_ListIndex(QV_List* list)
{
    if (list->current == nullptr) {
        return -1;
    }
    int32_t index = 0;
    for (const QV_ListElement* element = list->current->previous; element != nullptr; element = element->previous) {
        ++index;
    }
    return index;
}

QV_ListElement* QV_SelectElement(QV_List* list, int32_t index)
{
    QV_ResetList(list);
    QV_ListElement* reached = nullptr;
    for (int32_t step = 0; step <= index; ++step) {
        reached = QV_NextElement(list);
    }
    return reached;
}

void QV_ChangeCurrentElement(QV_List* list, void* data)
{
    list->current = data != nullptr ? reinterpret_cast<QV_ListElement*>(static_cast<char*>(data) - LinkBytes) : nullptr;
}

void* QV_ElementData(QV_ListElement* element)
{
    return element != nullptr ? element + 1 : nullptr;
}
