/**
 * @file list.h
 * @brief ObjectList: a doubly linked list of untyped item pointers with a
 * cursor, an optional callback that releases items, and a flag that makes
 * the list a non-owning view of items that belong elsewhere.
 *
 * Ownership: List_Create allocates the list header from the standard heap
 * and the caller ends it with List_Destroy. Nodes are allocated one per item
 * and belong to their list. An owning list (itemsBorrowed 0) releases its
 * items with its releaseItem callback, or with free when it has none, when
 * it is cleared or destroyed; a borrowed list (itemsBorrowed nonzero) never
 * releases items. Items are compared by pointer only; the list never looks
 * inside them.
 *
 * Walking: besides the cursor functions, callers may walk a list directly
 * from head along the next links and read each node's item; that walk does
 * not move the cursor.
 *
 * Errors: functions that can fail return 1 on success and 0 on failure (no
 * node given, or memory short). The list argument must be a list from
 * List_Create (never null). Two misuses end the process: an index outside
 * the list given to List_ItemAt and an item not in the list given to
 * List_GetItemIndex print a fixed message and exit with status 1.
 *
 * Threads: like the whole library, these functions run on their caller's
 * thread and take no locks. A list is used by one thread at a time; callers
 * that share one across threads serialise access themselves. Usable from C
 * (C89 and later) and C++.
 */
#ifndef SKORVAN_LIST_H
#define SKORVAN_LIST_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** One node of a list, created by the list (List_Append) or by
 *  List_NewNode; read it, do not relink it by hand. */
typedef struct ListNode {
    void* item;                /**< The item; the list never looks inside it. */
    struct ListNode* next;     /**< Following node; null at the tail. */
    struct ListNode* previous; /**< Preceding node; null at the head. */
} ListNode;

/** Releases one item of an owning list (for example Facility_ReleaseRecord).
 *  @param item the item leaving the list; never null unless null was stored */
typedef void (*ListReleaseFn)(void* item);
/** Orders two items for List_Sort, with qsort's convention.
 *  @param a pointer to the first item pointer (a void* const*, not the item)
 *  @param b pointer to the second item pointer
 *  @return negative, zero or positive as the first item sorts before, with
 *          or after the second */
typedef int (*ListCompareFn)(const void* a, const void* b);

/** The list header. Make one with List_Create (never on the stack: List_Destroy
 *  frees it); read its fields freely, change them only through the List_
 *  functions, except itemsBorrowed, which the owner may also set with
 *  List_SetBorrowed at any time. */
typedef struct ObjectList {
    ListNode* head; /**< First node; null exactly when count is 0. */
    ListNode* tail; /**< Last node; null exactly when count is 0. */
    /** Iteration position of List_First, List_Next and List_Previous; also moved by List_Clear and
     *  List_Unlink. */
    ListNode* cursor;
    int32_t count;         /**< Number of nodes, 0 or more. */
    int32_t itemsBorrowed; /**< 0: the list owns its items; nonzero: they belong to someone else. */
    /** Releases an owned item; null: owned items are released with free. */
    ListReleaseFn releaseItem;
} ObjectList;

/** A node holding an item, linked nowhere.
 *  @param item stored as it is
 *  @return a node from the heap, owned by the caller until it is appended;
 *          null when memory is short */
ListNode* List_NewNode(void* item);
/** Releases a node, never its item.
 *  @param node a node not linked into any list, or null
 *  @return 1 */
int32_t List_FreeNode(ListNode* node);
/** A new empty list that owns its items.
 *  @param releaseItem releases one item; null to release items with free
 *  @return the list, owned by the caller (end it with List_Destroy); null
 *          when memory is short */
ObjectList* List_Create(ListReleaseFn releaseItem);
/** List_Clear, then frees the header; the list pointer is invalid afterwards.
 *  @param list from List_Create
 *  @return 1 */
int32_t List_Destroy(ObjectList* list);

/** Moves the cursor to the head.
 *  @param list the list
 *  @return the head node; null when the list is empty */
ListNode* List_First(ObjectList* list);
/** Moves the cursor to the following node.
 *  @param list the list
 *  @return the new cursor node; null at the end, or when the cursor was
 *          already null (it then stays null) */
ListNode* List_Next(ObjectList* list);
/** Moves the cursor to the preceding node.
 *  @param list the list
 *  @return the new cursor node; null before the head, or when the cursor
 *          was already null */
ListNode* List_Previous(ObjectList* list);
/** The number of nodes.
 *  @param list the list
 *  @return count */
int32_t List_Count(const ObjectList* list);
/** Whether the items belong to someone else.
 *  @param list the list
 *  @return itemsBorrowed */
int32_t List_GetBorrowed(const ObjectList* list);
/** Makes the list owning (0) or non-owning (nonzero) from now on; items
 *  already in it follow the new setting.
 *  @param list  the list
 *  @param value stored in itemsBorrowed */
void List_SetBorrowed(ObjectList* list, int32_t value);

/** Links a node at the tail; the list owns it from then on. The cursor is
 *  not moved.
 *  @param list the list
 *  @param node from List_NewNode, linked nowhere
 *  @return 1; 0 when node is null */
int32_t List_AppendNode(ObjectList* list, ListNode* node);
/** Appends an item at the tail in a new node.
 *  @param list the list
 *  @param item stored as it is; an owning list releases it later
 *  @return 1; 0 when no node could be made (the item is then not the
 *          list's) */
int32_t List_Append(ObjectList* list, void* item);
/** Inserts an item after a given node; appends when the node is the tail
 *  or not in the list.
 *  @param list  the list
 *  @param after a node of the list
 *  @param item  stored as it is
 *  @return 1; 0 when no node could be made (the list is unchanged) */
int32_t List_InsertAfter(ObjectList* list, ListNode* after, void* item);
/** Detaches a node without releasing it or its item; the caller then owns
 *  the node (List_FreeNode). Unlinking the cursor node moves the cursor to
 *  the following node, else to the preceding one.
 *  @param list the list
 *  @param node a node of the list, or null
 *  @return node; null when node is null or not in the list (nothing changed) */
ListNode* List_Unlink(ObjectList* list, ListNode* node);
/** Detaches and releases a node; its item is not released, even by an
 *  owning list.
 *  @param list the list
 *  @param node a node of the list; nothing happens if it is not in it */
void List_Remove(ObjectList* list, ListNode* node);
/** List_Remove of the tail node; nothing on an empty list.
 *  @param list the list */
void List_RemoveLast(ObjectList* list);
/** Releases every node, and every item unless the list is borrowed
 *  (with releaseItem, head to tail); the list stays usable, empty, with a
 *  null cursor.
 *  @param list the list */
void List_Clear(ObjectList* list);

/** Indexed access, walking from the head.
 *  @param list  the list
 *  @param index 0-based, below count
 *  @return the item; null on an empty list, whatever the index. An index
 *          outside the list on a non-empty one is a caller's error:
 *          "Fatal : Index not valid in List_ItemAt()" on standard output and
 *          exit status 1 */
void* List_ItemAt(const ObjectList* list, int32_t index);
/** The position of an item.
 *  @param list the list
 *  @param item compared by pointer
 *  @return the 0-based position of the first node holding it. An item not
 *          in the list is a caller's error: "List_GetItemIndex() : No such
 *          item" on standard error and exit status 1 */
int32_t List_GetItemIndex(const ObjectList* list, const void* item);
/** Moves source's nodes, in order, to the end of destination and destroys
 *  source; its items then belong as destination's do (destination's flag
 *  and callback). Allocates nothing. A list onto itself changes nothing.
 *  @param destination receives the nodes
 *  @param source      invalid afterwards, unless it is destination
 *  @return destination */
ObjectList* List_Concat(ObjectList* destination, ObjectList* source);
/** Reorders the items with qsort within the list's own nodes (a node may
 *  then hold another item); the order of equal items is not defined. The
 *  cursor is null afterwards.
 *  @param list    the list
 *  @param compare the order
 *  @return 1; 0 when memory is short (the list is unchanged) */
int32_t List_Sort(ObjectList* list, ListCompareFn compare);

#ifdef __cplusplus
}
#endif

#endif
