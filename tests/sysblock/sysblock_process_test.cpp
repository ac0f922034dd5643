// tests/sysblock/sysblock_process_test.cpp
// The shared block across two processes, and the lock's 10-second time-out
// (run once: it waits the full ten seconds).
#include "map.h"
#include "sysblock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

static std::string g_peer; // the peer program, beside this one

TEST(SharedBlockAcrossProcesses, ASecondProcessSeesAndWritesTheSameBytes) {
    SystemBlock_RemoveName();
    SystemBlock* block = SystemBlock_Open();
    ASSERT_NE(block, nullptr);
    char* bytes = static_cast<char*>(block->view);
    strcpy(bytes + 1000, "from the first process");
    const int status = std::system(("\"" + g_peer + "\"").c_str());
    EXPECT_EQ(status, 0) << g_peer;
    EXPECT_STREQ(bytes + 2000, "from the second process");
    EXPECT_STREQ(bytes + 1000, "from the first process"); // the peer did not zero it
    SystemBlock_Close(block);
    SystemBlock_RemoveName();
}

TEST(SystemLockTimeOut, GivesUpAfterTenSecondsWhenAnotherThreadHoldsTheMutex) {
    MapContext context = {};
    context.systemMutex = SystemMutex_Create();
    ASSERT_NE(context.systemMutex, nullptr);
    std::atomic<bool> held{false}, release{false};
    std::thread holder([&] {
        held = SystemBlock_Lock(&context) == 1;
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        SystemBlock_Unlock(&context);
    });
    while (!held)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto start = std::chrono::steady_clock::now();
    const int32_t result = SystemBlock_Lock(&context);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    release = true;
    holder.join();
    EXPECT_EQ(result, 0);
    EXPECT_GT(seconds, 9.9);
    EXPECT_LT(seconds, 11.5);
    SystemMutex_Destroy(context.systemMutex);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string self = argv[0];
    const size_t slash = self.find_last_of("/\\");
    g_peer = (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) +
             "skorvan_sysblock_peer";
#ifdef _WIN32
    g_peer += ".exe";
#endif
    return RUN_ALL_TESTS();
}
