// tests/win32/frame_test.cpp
// The real Skorvan.dll in the stand-in simulator: start-up messages, the
// worker's timing, settings saved at unload, and repeated load and unload.
#include "host_run.h"

#include <windows.h>

#include <gtest/gtest.h>

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

} // namespace
