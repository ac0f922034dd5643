// avionics/list/list.cpp
// The object list: nodes, cursor, ownership of items, indexed access,
// concatenation and sorting.
#include "list.h"

#include <cstdio>
#include <cstdlib>

ListNode* List_NewNode(void* item) {
    ListNode* node = static_cast<ListNode*>(malloc(sizeof(ListNode)));
    if (node != nullptr)
        *node = ListNode{item, nullptr, nullptr};
    return node;
}

int32_t List_FreeNode(ListNode* node) {
    free(node);
    return 1;
}

ObjectList* List_Create(ListReleaseFn releaseItem) {
    ObjectList* list = static_cast<ObjectList*>(malloc(sizeof(ObjectList)));
    if (list != nullptr)
        *list = ObjectList{nullptr, nullptr, nullptr, 0, 0, releaseItem};
    return list;
}

int32_t List_Destroy(ObjectList* list) {
    List_Clear(list);
    free(list);
    return 1;
}

ListNode* List_First(ObjectList* list) {
    return list->cursor = list->head;
}

ListNode* List_Next(ObjectList* list) {
    if (list->cursor == nullptr)
        return nullptr;
    return list->cursor = list->cursor->next;
}

ListNode* List_Previous(ObjectList* list) {
    if (list->cursor == nullptr)
        return nullptr;
    return list->cursor = list->cursor->previous;
}

int32_t List_Count(const ObjectList* list) {
    return list->count;
}
int32_t List_GetBorrowed(const ObjectList* list) {
    return list->itemsBorrowed;
}
void List_SetBorrowed(ObjectList* list, int32_t value) {
    list->itemsBorrowed = value;
}

int32_t List_AppendNode(ObjectList* list, ListNode* node) {
    if (node == nullptr)
        return 0;
    if (list->count == 0) {
        list->head = node;
    } else {
        list->tail->next = node;
        node->previous = list->tail;
    }
    list->tail = node;
    node->next = nullptr;
    list->count += 1;
    return 1;
}

int32_t List_Append(ObjectList* list, void* item) {
    return List_AppendNode(list, List_NewNode(item));
}

int32_t List_InsertAfter(ObjectList* list, ListNode* after, void* item) {
    for (ListNode* node = list->head; node != nullptr; node = node->next) {
        if (node != after)
            continue;
        if (node->next == nullptr)
            break; // the tail: append
        ListNode* inserted = List_NewNode(item);
        if (inserted == nullptr)
            return 0;
        ListNode* following = after->next;
        after->next = inserted;
        following->previous = inserted;
        inserted->previous = after;
        inserted->next = following;
        list->count += 1;
        return 1;
    }
    return List_Append(list, item);
}

// Joins a node's neighbours to each other.
static void Bridge(ListNode* node) {
    if (node->previous != nullptr)
        node->previous->next = node->next;
    if (node->next != nullptr)
        node->next->previous = node->previous;
}

ListNode* List_Unlink(ObjectList* list, ListNode* node) {
    if (node == nullptr)
        return nullptr;
    if (node == list->cursor) {
        // The cursor moves to the following node, else the preceding one.
        Bridge(node);
        list->cursor = node->next != nullptr ? node->next : node->previous;
    } else {
        ListNode* found = list->head;
        while (found != nullptr && found != node)
            found = found->next;
        if (found == nullptr)
            return nullptr;
        Bridge(node);
    }
    list->count -= 1;
    if (node == list->head)
        list->head = node->next;
    if (node == list->tail)
        list->tail = node->previous;
    return node;
}

void List_Remove(ObjectList* list, ListNode* node) {
    List_FreeNode(List_Unlink(list, node));
}

void List_RemoveLast(ObjectList* list) {
    if (list->tail != nullptr)
        List_Remove(list, list->tail);
}

void List_Clear(ObjectList* list) {
    ListNode* node = list->head;
    while (node != nullptr) {
        list->cursor = node;
        ListNode* next = node->next;
        if (list->itemsBorrowed == 0) {
            if (list->releaseItem != nullptr)
                list->releaseItem(node->item);
            else
                free(node->item);
        }
        List_FreeNode(node);
        node = next;
    }
    list->head = list->tail = list->cursor = nullptr;
    list->count = 0;
}

void* List_ItemAt(const ObjectList* list, int32_t index) {
    if (list->count == 0)
        return nullptr;
    if (index < 0 || index >= list->count) {
        fputs("Fatal : Index not valid in List_ItemAt()\n", stdout);
        fflush(stdout);
        exit(1);
    }
    const ListNode* node = list->head;
    for (int32_t i = 0; i < index; ++i)
        node = node->next;
    return node->item;
}

int32_t List_GetItemIndex(const ObjectList* list, const void* item) {
    int32_t index = 0;
    for (const ListNode* node = list->head; node != nullptr; node = node->next, ++index)
        if (node->item == item)
            return index;
    fputs("List_GetItemIndex() : No such item\n", stderr);
    exit(1);
}

ObjectList* List_Concat(ObjectList* destination, ObjectList* source) {
    if (source == destination)
        return destination;
    // Source's nodes move over as they are: nothing is allocated, so nothing
    // source held can be lost on the way.
    if (source->head != nullptr) {
        source->head->previous = destination->tail;
        if (destination->tail != nullptr)
            destination->tail->next = source->head;
        else
            destination->head = source->head;
        destination->tail = source->tail;
        destination->count += source->count;
    }
    source->head = source->tail = source->cursor = nullptr;
    source->count = 0;
    List_Destroy(source);
    return destination;
}

int32_t List_Sort(ObjectList* list, ListCompareFn compare) {
    if (list->count <= 0)
        return 1;
    void** items = static_cast<void**>(malloc(sizeof(void*) * static_cast<size_t>(list->count)));
    if (items == nullptr)
        return 0; // the list as it was
    int32_t n = 0;
    for (const ListNode* node = list->head; node != nullptr; node = node->next)
        items[n++] = node->item;
    qsort(items, static_cast<size_t>(n), sizeof(void*), compare);
    // The sorted items go back into the same nodes: no allocation that could
    // fail halfway with the items out of the list.
    n = 0;
    for (ListNode* node = list->head; node != nullptr; node = node->next)
        node->item = items[n++];
    list->cursor = nullptr;
    free(items);
    return 1;
}
