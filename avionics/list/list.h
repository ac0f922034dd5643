/* avionics/list/list.h
 * ObjectList: a doubly linked list of untyped item pointers with a cursor,
 * an optional callback that releases items, and a flag that makes the list
 * a non-owning view of items that belong elsewhere. Callers may walk a list
 * directly from head along next links. One thread at a time. Usable from C
 * and C++.
 *
 * Conventions: functions that can fail return 1 on success and 0 on
 * failure (a null list or node, or memory short). An owning list releases its items with its
 * callback when they leave it; a borrowed (non-owning) list never does. The caller owns the list
 * itself and ends it with List_Destroy. */
#ifndef SKORVAN_LIST_H
#define SKORVAN_LIST_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ListNode {
    void* item;
    struct ListNode* next;     /* none at the tail */
    struct ListNode* previous; /* none at the head */
} ListNode;

/* Releases one item of an owning list. */
typedef void (*ListReleaseFn)(void* item);
/* qsort's convention: a and b point to item pointers. */
typedef int (*ListCompareFn)(const void* a, const void* b);

typedef struct ObjectList {
    ListNode* head;
    ListNode* tail;
    ListNode* cursor; /* moved by List_First, List_Next, List_Previous, List_Clear, List_Unlink */
    int32_t count;
    int32_t itemsBorrowed;     /* nonzero: items belong to someone else */
    ListReleaseFn releaseItem; /* none: owned items are released with free */
} ObjectList;

/* A node holding item, linked nowhere; none when memory is short. */
ListNode* List_NewNode(void* item);
/* Releases the node only, never its item. Returns 1. */
int32_t List_FreeNode(ListNode* node);
/* A new empty list owning its items; none when memory is short. */
ObjectList* List_Create(ListReleaseFn releaseItem);
/* List_Clear, then the header itself. Returns 1. */
int32_t List_Destroy(ObjectList* list);

ListNode* List_First(ObjectList* list);
ListNode* List_Next(ObjectList* list);
ListNode* List_Previous(ObjectList* list);
int32_t List_Count(const ObjectList* list);
int32_t List_GetBorrowed(const ObjectList* list);
void List_SetBorrowed(ObjectList* list, int32_t value);

/* 0 when node is none. The cursor is not touched. */
int32_t List_AppendNode(ObjectList* list, ListNode* node);
/* 1, or 0 when no node could be made. */
int32_t List_Append(ObjectList* list, void* item);
/* Inserts after the given node; appends when the node is the tail or not in
 * the list. 0 when no node could be made. */
int32_t List_InsertAfter(ObjectList* list, ListNode* after, void* item);
/* Detaches the node without releasing it; none if it is not in the list. */
ListNode* List_Unlink(ObjectList* list, ListNode* node);
/* Detaches and releases the node; the item stays. */
void List_Remove(ObjectList* list, ListNode* node);
void List_RemoveLast(ObjectList* list);
/* Releases every node, and every item unless borrowed; the list stays usable. */
void List_Clear(ObjectList* list);

/* The item at a 0-based index; none on an empty list. An index outside the
 * list is a caller's error: a message on standard output and exit status 1. */
void* List_ItemAt(const ObjectList* list, int32_t index);
/* The position of the first node holding item. An item not in the list is
 * a caller's error: a message on standard error and exit status 1. */
int32_t List_GetItemIndex(const ObjectList* list, const void* item);
/* Moves source's nodes to the end of destination and destroys source; the
 * items then belong as destination's do. Allocates nothing. A list onto
 * itself changes nothing. */
ObjectList* List_Concat(ObjectList* destination, ObjectList* source);
/* Reorders the items with qsort within the list's own nodes (a node may then
 * hold another item); the cursor is none afterwards. 0 (list unchanged)
 * when memory is short. */
int32_t List_Sort(ObjectList* list, ListCompareFn compare);

#ifdef __cplusplus
}
#endif

#endif
