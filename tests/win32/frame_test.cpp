// tests/win32/frame_test.cpp
// The real Skorvan.dll in the stand-in simulator: start-up messages, the
// worker's timing, settings saved at unload, and repeated load and unload.
#include "host_run.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(Frame, EarlyUnloadWritesNoCameraWordButSavesAllEightDefaults) {
    const HostRun run = RunHost("clear-settings\nat 2 unload\n", 3);
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.Of("load").size(), 1u);
    EXPECT_TRUE(run.Of("camera").empty());
    EXPECT_TRUE(run.Of("refresh").empty()); // the worker still sleeps its first 5 s
    EXPECT_TRUE(run.Of("msgbox").empty());
    const char* names[] = {"FlyByActive",      "FlyByDuration",        "FlyByRelAltitude",
                           "FlyByMinDistance", "FlyByCameraPlacement", "FlyByTravelling",
                           "FlyByFollowTurn",  "FlyByPassAt"};
    const char* texts[] = {"1", "10", "0", "50", "0", "0", "0", "100"};
    for (int i = 0; i < 8; ++i) // REG_SZ values: anything else reads "<not text>"
        EXPECT_EQ(Settings_Text(names[i]), texts[i]) << names[i];
}

TEST(Frame, StoredTextIsLoadedByTheAtolRuleAndSavedBack) {
    const HostRun run = RunHost("clear-settings\nsetting FlyByMinDistance -80\n"
                                "setting FlyByDuration 12abc\nsetting FlyByRelAltitude x9\n"
                                "at 1 unload\n",
                                2);
    ASSERT_EQ(run.exitCode, 0);
    const char* names[] = {"FlyByMinDistance", "FlyByDuration", "FlyByRelAltitude"};
    const char* texts[] = {"-80", "12", "0"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Settings_Text(names[i]), texts[i]) << names[i];
}

TEST(Frame, WithoutTheMainWindowOneMessageAndTheWorkerStillTicks) {
    const HostRun run = RunHost("clear-settings\nno-main-window\n", 9);
    ASSERT_EQ(run.exitCode, 0);
    const auto boxes = run.Of("msgbox");
    ASSERT_EQ(boxes.size(), 1u);
    ASSERT_EQ(boxes[0].fields.size(), 1u);
    EXPECT_EQ(boxes[0].fields[0], "FS window not found");

    // The first tick comes 5 s after load (the worker starts after the
    // message box), the next ones at least 500 ms apart.
    const int64_t loaded = run.FirstMs("load");
    std::vector<int64_t> clockRefreshes;
    for (const HostLogLine& line : run.Of("refresh"))
        if (line.fields[0] == "0x05")
            clockRefreshes.push_back(line.tMs - loaded);
    ASSERT_GE(clockRefreshes.size(), 3u);
    EXPECT_GE(clockRefreshes[0], 4900);
    EXPECT_LE(clockRefreshes[0], 5800);
    for (size_t i = 1; i < clockRefreshes.size(); ++i)
        EXPECT_GE(clockRefreshes[i] - clockRefreshes[i - 1], 480) << i;
}

TEST(Frame, RepeatedLoadAndUnloadInOneProcess) {
    // Commands posted after each unload pass the hooks' old places: a hook
    // left installed would call into the unloaded DLL and crash the host.
    const HostRun run = RunHost("clear-settings\n"
                                "at 1 unload\nat 1.2 command 1000\nat 1.5 load\n"
                                "at 2 unload\nat 2.2 command 1001\nat 2.5 load\n"
                                "at 3 unload\nat 3.2 command 1002\nat 3.5 load\n",
                                10);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.Of("load").size(), 4u);
    EXPECT_EQ(run.Of("unload").size(), 4u); // three scripted, one at the end
    EXPECT_EQ(run.Of("command").size(), 3u);
    ASSERT_FALSE(run.Of("end").empty());
    // Only the last load lives long enough to tick and place the camera.
    const auto cameras = run.Of("camera");
    ASSERT_EQ(cameras.size(), 1u);
    EXPECT_GE(cameras[0].tMs, 3500 + 5400);
}

// Each load starts a worker and each unload must return it, stack and all:
// ended by force, a worker leaked its stack (about 1 MB a cycle, 35 MB
// between the samples compared here). The first hundred cycles settle the
// process's own allocations; a middle of three samples at each end keeps a
// worker still on its way out from counting as growth.
TEST(Frame, ThousandLoadCyclesKeepMemoryFlat) {
    const HostRun run = RunHost("clear-settings\nat 1 cycle 1000\nat 1.1 quit\n", 60);
    ASSERT_EQ(run.exitCode, 0);
    const auto memory = run.Of("memory");
    ASSERT_EQ(memory.size(), 11u); // before, then every 100 cycles
    EXPECT_EQ(run.Of("load").size(), 1001u);
    const auto middle = [&](size_t first, size_t column) {
        long long kb[3];
        for (size_t i = 0; i < 3; ++i)
            kb[i] = std::stoll(memory[first + i].fields[column]);
        std::sort(kb, kb + 3);
        return kb[1];
    };
    for (size_t column : {1u, 3u}) // working set, address space in use
        EXPECT_LT(middle(8, column) - middle(1, column), 4 * 1024) << "column " << column;
}

// A FlyByDuration that a user stored as a REG_DWORD with a registry editor is
// its number, and is saved back as text.
TEST(Frame, DwordSettingIsReadAsItsNumberAndSavedAsText) {
    const HostRun run =
        RunHost("clear-settings\nsetting-dword FlyByDuration 15\nat 1 unload\n", 1.5);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(Settings_Text("FlyByDuration"), "15");
}

} // namespace
