// tests/unit/list_test.cpp
// The object list: linking, the cursor, ownership of items, the two fatal
// misuses, sorting and concatenation.
#include "list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

int g_values[8] = {0, 1, 2, 3, 4, 5, 6, 7};
void* Item(int i) {
    return &g_values[i];
}

std::vector<int> Items(const ObjectList* list) {
    std::vector<int> out;
    for (const ListNode* n = list->head; n != nullptr; n = n->next)
        out.push_back(*static_cast<int*>(n->item));
    return out;
}

// Walks both ways and checks the links agree with count.
void ExpectConsistent(const ObjectList* list) {
    int forward = 0;
    const ListNode* last = nullptr;
    for (const ListNode* n = list->head; n != nullptr; last = n, n = n->next) {
        EXPECT_EQ(n->previous, last);
        ++forward;
    }
    EXPECT_EQ(last, list->tail);
    EXPECT_EQ(forward, list->count);
    EXPECT_EQ(list->head == nullptr, list->count == 0);
}

struct Borrowed : ::testing::Test {
    ObjectList* list = nullptr;
    void SetUp() override {
        list = List_Create(nullptr);
        List_SetBorrowed(list, 1);
    }
    void TearDown() override { List_Destroy(list); }
    void Fill(int n) {
        for (int i = 0; i < n; ++i)
            List_Append(list, Item(i));
    }
};

TEST_F(Borrowed, AppendsAndWalksWithTheCursor) {
    Fill(3);
    ExpectConsistent(list);
    EXPECT_EQ(Items(list), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(List_First(list)->item, Item(0));
    EXPECT_EQ(List_Next(list)->item, Item(1));
    EXPECT_EQ(List_Previous(list)->item, Item(0));
    EXPECT_EQ(List_Previous(list), nullptr);
    EXPECT_EQ(List_Next(list), nullptr); // a cursor of none stays none
    EXPECT_EQ(List_AppendNode(list, nullptr), 0);
    EXPECT_EQ(List_Count(list), 3);
}

TEST_F(Borrowed, InsertAfterTheTailOrAForeignNodeAppends) {
    Fill(3);
    ObjectList* other = List_Create(nullptr);
    List_SetBorrowed(other, 1);
    List_Append(other, Item(7));
    EXPECT_EQ(List_InsertAfter(list, list->tail, Item(5)), 1);
    EXPECT_EQ(List_InsertAfter(list, other->head, Item(6)), 1);
    EXPECT_EQ(List_InsertAfter(list, list->head, Item(4)), 1);
    EXPECT_EQ(Items(list), (std::vector<int>{0, 4, 1, 2, 5, 6}));
    ExpectConsistent(list);
    EXPECT_EQ(Items(other), (std::vector<int>{7}));
    List_Destroy(other);
    ObjectList* empty = List_Create(nullptr);
    List_SetBorrowed(empty, 1);
    EXPECT_EQ(List_InsertAfter(empty, nullptr, Item(3)), 1);
    EXPECT_EQ(Items(empty), (std::vector<int>{3}));
    List_Destroy(empty);
}

TEST_F(Borrowed, UnlinkingTheCursorMovesItOn) {
    Fill(3);
    List_First(list);
    ListNode* head = list->head;
    EXPECT_EQ(List_Unlink(list, head), head);
    List_FreeNode(head);
    EXPECT_EQ(list->cursor->item, Item(1)); // to the following node
    List_Next(list);                        // cursor on the tail
    ListNode* tail = list->tail;
    List_Remove(list, tail);
    EXPECT_EQ(list->cursor->item, Item(1)); // to the preceding node
    ExpectConsistent(list);
    List_Remove(list, list->head);
    EXPECT_EQ(list->head, nullptr);
    EXPECT_EQ(list->tail, nullptr);
    EXPECT_EQ(list->cursor, nullptr);
    EXPECT_EQ(list->count, 0);
}

TEST_F(Borrowed, UnlinkOfAForeignNodeChangesNothing) {
    Fill(2);
    ListNode* stranger = List_NewNode(Item(5));
    EXPECT_EQ(List_Unlink(list, stranger), nullptr);
    EXPECT_EQ(List_Unlink(list, nullptr), nullptr);
    EXPECT_EQ(list->count, 2);
    List_FreeNode(stranger);
    List_RemoveLast(list);
    EXPECT_EQ(Items(list), (std::vector<int>{0}));
    List_RemoveLast(list);
    List_RemoveLast(list); // empty: nothing
    ExpectConsistent(list);
}

TEST_F(Borrowed, ItemAtAndIndexOf) {
    EXPECT_EQ(List_ItemAt(list, 0), nullptr); // empty: none, whatever the index
    EXPECT_EQ(List_ItemAt(list, -3), nullptr);
    Fill(3);
    List_Append(list, Item(1)); // the same pointer twice
    EXPECT_EQ(List_ItemAt(list, 2), Item(2));
    EXPECT_EQ(List_GetItemIndex(list, Item(1)), 1);
}

int CompareInts(const void* a, const void* b) {
    const int x = **static_cast<int*const*>(a), y = **static_cast<int*const*>(b);
    return (x > y) - (x < y);
}

TEST_F(Borrowed, SortsByTheCallbackAndConcatenates) {
    EXPECT_EQ(List_Sort(list, CompareInts), 1); // empty
    for (int i : {5, 1, 4, 2})
        List_Append(list, Item(i));
    EXPECT_EQ(List_Sort(list, CompareInts), 1);
    EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(list->cursor, nullptr);
    EXPECT_EQ(List_First(list)->item, Item(1));
    EXPECT_EQ(List_GetBorrowed(list), 1); // restored after the sort
    ExpectConsistent(list);

    ObjectList* source = List_Create(nullptr);
    List_Append(source, Item(7));
    List_Append(source, Item(0));
    EXPECT_EQ(List_Concat(list, source), list); // source is destroyed, its items kept
    EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 4, 5, 7, 0}));
    ExpectConsistent(list);
}

std::vector<const ListNode*> Nodes(const ObjectList* list) {
    std::vector<const ListNode*> out;
    for (const ListNode* n = list->head; n != nullptr; n = n->next)
        out.push_back(n);
    return out;
}

// Sorting and concatenating allocate no node: the nodes the lists held go on
// holding the items, so a failed allocation halfway can never drop an item
// the list owns.
TEST_F(Borrowed, SortAndConcatKeepTheirNodes) {
    for (int i : {5, 1, 4})
        List_Append(list, Item(i));
    const auto before = Nodes(list);
    ASSERT_EQ(List_Sort(list, CompareInts), 1);
    EXPECT_EQ(Nodes(list), before);
    EXPECT_EQ(Items(list), (std::vector<int>{1, 4, 5}));

    ObjectList* source = List_Create(nullptr);
    List_Append(source, Item(7));
    List_Append(source, Item(0));
    auto expect = before;
    for (const ListNode* n : Nodes(source))
        expect.push_back(n);
    List_Concat(list, source);
    EXPECT_EQ(Nodes(list), expect);
    ExpectConsistent(list);
    EXPECT_EQ(List_Concat(list, list), list); // onto itself: nothing changes
    EXPECT_EQ(Items(list), (std::vector<int>{1, 4, 5, 7, 0}));

    ObjectList* empty = List_Create(nullptr);
    ObjectList* none = List_Create(nullptr);
    List_Concat(empty, list); // into an empty list; list is gone
    list = empty;
    List_Concat(list, none);
    EXPECT_EQ(Items(list), (std::vector<int>{1, 4, 5, 7, 0}));
    ExpectConsistent(list);
    List_SetBorrowed(list, 1);
}

int g_released[8];
void Release(void* item) {
    ++g_released[*static_cast<int*>(item)];
}

TEST(OwningList, ClearReleasesEachItemOnceUnlessBorrowed) {
    std::fill(std::begin(g_released), std::end(g_released), 0);
    ObjectList* list = List_Create(Release);
    for (int i = 0; i < 4; ++i)
        List_Append(list, Item(i));
    List_SetBorrowed(list, 1);
    List_Clear(list);
    EXPECT_EQ(std::count(std::begin(g_released), std::end(g_released), 0), 8);
    List_SetBorrowed(list, 0);
    for (int i = 0; i < 4; ++i)
        List_Append(list, Item(i));
    List_Clear(list);
    EXPECT_EQ(std::vector<int>(g_released, g_released + 5), (std::vector<int>{1, 1, 1, 1, 0}));
    EXPECT_EQ(list->count, 0);
    List_Append(list, malloc(16)); // still usable; the last item goes with free
    List_SetBorrowed(list, 0);
    list->releaseItem = nullptr;
    List_Destroy(list); // LeakSanitizer sees the block freed
}

#ifndef _WIN32
// The two misuses end the process with status 1 and their fixed text
// (List_ItemAt's on standard output, shown here through standard error).
TEST(ListDeathTest, MisusesExitWithStatusOne) {
    ObjectList* list = List_Create(nullptr);
    List_SetBorrowed(list, 1);
    for (int i = 0; i < 3; ++i)
        List_Append(list, Item(i));
    EXPECT_EXIT(
        {
            dup2(2, 1);
            List_ItemAt(list, 3);
        },
        ::testing::ExitedWithCode(1), "^Fatal : Index not valid in List_ItemAt\\(\\)\n$");
    EXPECT_EXIT(List_ItemAt(list, -1), ::testing::ExitedWithCode(1), "");
    EXPECT_EXIT(List_GetItemIndex(list, Item(6)), ::testing::ExitedWithCode(1),
                "^List_GetItemIndex\\(\\) : No such item\n$");
    List_Destroy(list);
}
#endif

} // namespace
