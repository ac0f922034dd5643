// tests/unit/sysblock_test.cpp
// The shared system block in one process: creation and zeroing, a second
// opener, the dispatcher, invalid records, the counter and the lock. (A
// second process and the 10-second time-out are in sysblock_process_test.)
#include "map.h"
#include "platform.h"
#include "sysblock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

struct SharedBlock : ::testing::Test {
    void SetUp() override { SystemBlock_RemoveName(); }
    void TearDown() override { SystemBlock_RemoveName(); }
};

TEST_F(SharedBlock, FirstOpenCreatesAZeroedBlockASecondSeesItsBytes) {
    SystemBlock* first = SystemBlock_Open();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->magic, SYSTEM_BLOCK_MAGIC);
    const uint8_t* bytes = static_cast<const uint8_t*>(first->view);
    size_t nonzero = 0;
    for (size_t i = 0; i < SYSTEM_BLOCK_SIZE; ++i)
        nonzero += bytes[i] != 0;
    EXPECT_EQ(nonzero, 0u);
    memcpy(static_cast<uint8_t*>(first->view) + 1000, "skorvan", 8);
    static_cast<uint8_t*>(first->view)[SYSTEM_BLOCK_SIZE - 1] = 0x5A;

    SystemBlock* second = SystemBlock_Open();
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(static_cast<const char*>(second->view) + 1000, "skorvan"); // not zeroed again
    EXPECT_EQ(static_cast<const uint8_t*>(second->view)[SYSTEM_BLOCK_SIZE - 1], 0x5A);
    EXPECT_EQ(SystemBlock_Close(second), 1);
    EXPECT_EQ(SystemBlock_Close(first), 1);
}

int32_t g_seenA, g_seenB, g_seenC;
void* g_seenBlock;
int32_t Dispatch(void* block, int32_t a, int32_t b, int32_t c) {
    g_seenBlock = block;
    g_seenA = a, g_seenB = b, g_seenC = c;
    return 4711;
}

TEST_F(SharedBlock, CallsTheDispatcherTheBlockCarries) {
    SystemBlock* block = SystemBlock_Open();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(SystemBlock_Call(block, 1, 2, 3), 0); // none installed
    const SystemDispatchFn dispatch = Dispatch;
    memcpy(static_cast<uint8_t*>(block->view) + 4, &dispatch, sizeof dispatch);
    EXPECT_EQ(SystemBlock_Call(block, -1, 20, 300), 4711);
    EXPECT_EQ(g_seenBlock, block->view);
    EXPECT_EQ(g_seenA, -1);
    EXPECT_EQ(g_seenB, 20);
    EXPECT_EQ(g_seenC, 300);
    memset(static_cast<uint8_t*>(block->view) + 4, 0, sizeof dispatch);
    SystemBlock_Close(block);
}

TEST_F(SharedBlock, ForeignRecordsAreRefusedAndTheMappingStaysOpen) {
    SystemBlock* block = SystemBlock_Open();
    ASSERT_NE(block, nullptr);
    block->magic = 64000;
    EXPECT_EQ(SystemBlock_Close(block), 0);
    EXPECT_EQ(SystemBlock_Call(block, 0, 0, 0), -1);
    static_cast<uint8_t*>(block->view)[8] = 1; // the view is still mapped
    block->magic = SYSTEM_BLOCK_MAGIC;
    EXPECT_EQ(SystemBlock_Close(block), 1);
}

// Misuse that once read freed memory or crashed: a second close, a block
// whose name exists with no size yet, a lock with no mutex.
TEST_F(SharedBlock, MisuseIsRefusedWithoutTouchingMemoryItDoesNotOwn) {
    SystemBlock* block = SystemBlock_Open();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(SystemBlock_Close(block), 1);
    EXPECT_EQ(SystemBlock_Close(block), 0); // freed: refused without reading it
    SystemBlock local = {SYSTEM_BLOCK_MAGIC, nullptr, nullptr};
    EXPECT_EQ(SystemBlock_Close(&local), 0); // never opened, magic or not

    MapContext none = {};
    EXPECT_EQ(SystemBlock_Lock(&none), 0);
    EXPECT_EQ(SystemBlock_Lock(nullptr), 0);
    EXPECT_EQ(SystemBlock_Unlock(&none), 1);

#ifndef _WIN32
    // A creator that died before sizing the block left its name at size 0.
    SystemBlock_RemoveName();
    const int fd = shm_open("/" SYSTEM_BLOCK_NAME, O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    close(fd);
    block = SystemBlock_Open();
    ASSERT_NE(block, nullptr);
    static_cast<uint8_t*>(block->view)[SYSTEM_BLOCK_SIZE - 1] = 1; // no SIGBUS
    EXPECT_EQ(SystemBlock_Call(block, 0, 0, 0), 0);
    EXPECT_EQ(SystemBlock_Close(block), 1);
#endif
}

// Another module creates the block between our finding none and creating
// it: we get its block, and its bytes stay as they are.
SystemBlock* g_peer;
void PeerCreatesTheBlock() {
    g_systemMapBeforeCreate = nullptr;
    g_peer = SystemBlock_Open();
    if (g_peer != nullptr)
        memcpy(static_cast<uint8_t*>(g_peer->view) + 100, "peer", 5);
}

TEST_F(SharedBlock, APeerThatCreatesItFirstKeepsItsBytes) {
    g_systemMapBeforeCreate = PeerCreatesTheBlock;
    SystemBlock* block = SystemBlock_Open();
    g_systemMapBeforeCreate = nullptr;
    ASSERT_NE(g_peer, nullptr);
    ASSERT_NE(block, nullptr);
    EXPECT_STREQ(static_cast<const char*>(block->view) + 100, "peer");
    EXPECT_EQ(SystemBlock_Close(block), 1);
    EXPECT_EQ(SystemBlock_Close(g_peer), 1);
}

// Modules open and close the block from their own threads: the set of open
// records must lose none of them while it grows and shrinks under all four.
TEST_F(SharedBlock, ThreadsOpeningAndClosingAtOnceLoseNoRecord) {
    constexpr int THREADS = 4, ROUNDS = 40, HELD = 24;
    int failures[THREADS] = {};
    std::thread threads[THREADS];
    for (int t = 0; t < THREADS; ++t)
        threads[t] = std::thread([t, &failures] {
            SystemBlock* held[HELD];
            for (int round = 0; round < ROUNDS; ++round) {
                for (SystemBlock*& block : held)
                    failures[t] += (block = SystemBlock_Open()) == nullptr;
                for (SystemBlock* block : held)
                    failures[t] += block != nullptr && SystemBlock_Close(block) != 1;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < THREADS; ++t)
        EXPECT_EQ(failures[t], 0) << "thread " << t;
}

TEST(SystemCounter, AddsAndSubtracts) {
    const int32_t start = SystemBlock_CounterAdd(0);
    EXPECT_EQ(SystemBlock_CounterAdd(5), start + 5);
    EXPECT_EQ(SystemBlock_CounterSubtract(2), start + 3);
    SystemBlock_CounterSubtract(3);
}

// The owner may take the mutex again at once (as a Win32 mutex); another
// thread gets it once it was released as often as it was taken.
TEST(SystemLock, TakesAndReleasesTheContextsMutexAsOftenAsTaken) {
    MapContext context = {};
    context.systemMutex = SystemMutex_Create();
    ASSERT_NE(context.systemMutex, nullptr);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(SystemBlock_Lock(&context), 1);
    ASSERT_EQ(SystemBlock_Lock(&context), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(SystemBlock_Unlock(&context), 1);
    EXPECT_EQ(SystemBlock_Unlock(&context), 1);
    int32_t other = -1;
    std::thread([&] {
        other = SystemBlock_Lock(&context);
        SystemBlock_Unlock(&context);
    }).join();
    EXPECT_EQ(other, 1);
    SystemMutex_Destroy(context.systemMutex);
}

} // namespace
