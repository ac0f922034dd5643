// tests/win32/ui_test.cpp
// The "&Skorvan" menu, its commands through both hooks, and the two
// dialogs, driven in the stand-in simulator with real menus and dialogs.
#include "host_run.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// The menu lines of one "menu" step, as "position,text,flags"; each step
// starts again at position 0.
std::vector<std::string> MenuAt(const HostRun& run, size_t which) {
    std::vector<std::vector<std::string>> snapshots;
    for (const HostLogLine& line : run.Of("menu")) {
        if (line.fields[0] == "0" || snapshots.empty())
            snapshots.emplace_back();
        snapshots.back().push_back(line.fields[0] + "," + line.fields[1] + "," + line.fields[2]);
    }
    return which < snapshots.size() ? snapshots[which] : std::vector<std::string>{};
}

std::vector<std::string> DialogReads(const HostRun& run, const char* name) {
    std::vector<std::string> reads;
    for (const HostLogLine& line : run.Of("dialog")) {
        if (line.fields[0] != name || (line.fields.size() > 1 && line.fields[1] == "count"))
            continue;
        std::string joined;
        for (size_t i = 1; i < line.fields.size(); ++i)
            joined += (i > 1 ? "," : "") + line.fields[i];
        reads.push_back(joined);
    }
    return reads;
}

int CommandsReachingHost(const HostRun& run, const char* id) {
    int n = 0;
    for (const HostLogLine& line : run.Of("command"))
        n += line.fields[0] == id;
    return n;
}

TEST(Menu, PopUpShowsActiveAndThePostedToggleNeverReachesTheHost) {
    const HostRun run = RunHost("clear-settings\nsetting FlyByActive 1\n"
                                "at 1 init-menu\nat 1.1 menu\nat 1.3 command 30720\n"
                                "at 1.5 init-menu\nat 1.6 menu\nat 1.8 command 30720\n"
                                "at 2.0 init-menu\nat 2.1 menu\n",
                                2.5);
    ASSERT_EQ(run.exitCode, 0);
    const std::vector<std::string> first = {"0,Item one,-",
                                            "1,Item two,-",
                                            "2,,separator",
                                            "3,&Skorvan,popup",
                                            "3.0,Activate Fly-by,checked",
                                            "3.1,Configure...,-",
                                            "3.2,,separator",
                                            "3.3,About...,-"};
    EXPECT_EQ(MenuAt(run, 0), first);
    // Each WM_INITMENU appends again; the host restores its bar only after a
    // real menu session.
    const auto second = MenuAt(run, 1);
    ASSERT_EQ(second.size(), 14u);
    EXPECT_EQ(second[8], "4,,separator");
    EXPECT_EQ(second[9], "5,&Skorvan,popup");
    EXPECT_EQ(second[10], "5.0,Activate Fly-by,-"); // toggled off
    const auto third = MenuAt(run, 2);
    ASSERT_EQ(third.size(), 20u);
    EXPECT_EQ(third[16], "7.0,Activate Fly-by,checked"); // and on again
    EXPECT_EQ(CommandsReachingHost(run, "30720"), 0);
    EXPECT_EQ(Settings_Text("FlyByActive"), "1");
}

TEST(Menu, FiveShowsCheckedAndTogglesToMinusFourStillChecked) {
    const HostRun run = RunHost("clear-settings\nsetting FlyByActive 5\n"
                                "at 1 init-menu\nat 1.1 menu\nat 1.3 command 30720\n"
                                "at 1.5 init-menu\nat 1.6 menu\n",
                                2);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(MenuAt(run, 0)[4], "3.0,Activate Fly-by,checked");
    EXPECT_EQ(MenuAt(run, 1)[10], "5.0,Activate Fly-by,checked");
    EXPECT_EQ(Settings_Text("FlyByActive"), "-4");
}

TEST(Menu, SentCommandIsHandledByTheCallWndProcHook) {
    const HostRun run = RunHost("clear-settings\nat 1 send-command 30720\n", 1.5);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(Settings_Text("FlyByActive"), "0");
    // Wine, like Windows, calls the window procedure with the original
    // message whatever a WH_CALLWNDPROC hook writes into its record, so a
    // sent command still reaches the host, which ignores ids it does not
    // know. Only the posted form is taken out of the stream.
    EXPECT_EQ(CommandsReachingHost(run, "30720"), 1);
}

TEST(Menu, OtherWindowsAndPeekedMessagesPassUntouched) {
    const HostRun run =
        RunHost("clear-settings\nat 1 other-command 30720\nat 1.3 peek-command 30720\n"
                "at 1.6 command 30720 7\n",
                2);
    ASSERT_EQ(run.exitCode, 0);
    const auto other = run.Of("other-command");
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].fields[0], "30720");
    const auto peeked = run.Of("peeked");
    ASSERT_EQ(peeked.size(), 1u);
    EXPECT_EQ(peeked[0].fields, (std::vector<std::string>{"0x111", "30720", "1"}));
    // The peeked command toggles once it is removed from the queue, and the
    // one with a high word of 7 toggles back: two toggles, none for the
    // other window's.
    EXPECT_EQ(CommandsReachingHost(run, "30720"), 0);
    EXPECT_EQ(Settings_Text("FlyByActive"), "1");
}

TEST(ConfigureDialog, ShowsTheSettingsAndStoresWhatOkReads) {
    const HostRun run =
        RunHost("clear-settings\nsetting FlyByCameraPlacement 7\nsetting FlyByTravelling 1\n"
                "setting FlyByRelAltitude 250\n"
                "at 1 command 30721 1\nat 1.3 dialog configure read\n"
                "at 1.4 dialog configure set 1006 -120\n"
                "at 1.5 dialog configure set 1000 12 and letters\n"
                "at 1.6 dialog configure set 1001\n"
                "at 1.7 dialog configure click 1\n"
                "at 2.0 command 30721\nat 2.3 dialog configure read\n"
                "at 2.4 dialog configure set 1000 -5\n"
                "at 2.5 dialog configure check 1005 0\n"
                "at 2.6 dialog configure click 1\n"
                "at 3.0 command 30721\nat 3.3 dialog configure read\n"
                "at 3.4 dialog configure check 1003 1\n"
                "at 3.5 dialog configure click 1\n"
                "at 3.8 command 30721\nat 4.1 dialog configure read\n"
                "at 4.2 dialog configure click 2\n",
                4.6);
    ASSERT_EQ(run.exitCode, 0);
    const std::vector<std::string> expect = {
        "10,250,50,0,0,0,1", // placement 7: no radio button checked
        "12,0,120,0,0,0,1",  // OK kept placement 7
        "-5,0,120,0,0,0,0",
        "-5,0,120,0,1,0,0", // left
    };
    EXPECT_EQ(DialogReads(run, "configure"), expect);
    EXPECT_EQ(Settings_Text("FlyByDuration"), "-5");
    EXPECT_EQ(Settings_Text("FlyByRelAltitude"), "0");
    EXPECT_EQ(Settings_Text("FlyByMinDistance"), "120");
    EXPECT_EQ(Settings_Text("FlyByCameraPlacement"), "1");
    EXPECT_EQ(Settings_Text("FlyByTravelling"), "0");
    EXPECT_EQ(CommandsReachingHost(run, "30721"), 0);
}

TEST(ConfigureDialog, CancelEscapeAndTheCloseBoxChangeNothing) {
    const HostRun run =
        RunHost("clear-settings\n"
                "at 1.0 command 30721\nat 1.3 dialog configure set 1000 99\n"
                "at 1.4 dialog configure check 1004 1\nat 1.5 dialog configure click 2\n"
                "at 1.8 command 30721\nat 2.1 dialog configure set 1000 99\n"
                "at 2.2 dialog configure escape\n"
                "at 2.5 command 30721\nat 2.8 dialog configure set 1000 99\n"
                "at 2.9 dialog configure close\n"
                "at 3.2 command 30721\nat 3.5 dialog configure read\n"
                "at 3.6 dialog configure click 2\nat 3.9 dialog configure read\n",
                4.2);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(DialogReads(run, "configure"),
              (std::vector<std::string>{"10,0,50,1,0,0,0", "missing"}));
    EXPECT_EQ(Settings_Text("FlyByDuration"), "10");
    EXPECT_EQ(Settings_Text("FlyByCameraPlacement"), "0");
}

TEST(AboutDialog, ShowsItsTextAnEmptyReadOnlyFieldAndClosesEveryWay) {
    const HostRun run =
        RunHost("clear-settings\n"
                "at 1.0 command 30722\nat 1.3 dialog about read\nat 1.4 dialog about escape\n"
                "at 1.7 dialog about read\n"
                "at 2.0 command 30722\nat 2.3 dialog about close\nat 2.6 dialog about read\n"
                "at 2.9 command 30722\nat 3.2 dialog about click 1\nat 3.5 dialog about read\n",
                3.8);
    ASSERT_EQ(run.exitCode, 0);
    const auto reads = DialogReads(run, "about");
    ASSERT_EQ(reads.size(), 4u);
    EXPECT_EQ(reads[0].rfind("Skorvan fly-by camera", 0), 0u) << reads[0];
    EXPECT_EQ(reads[0].substr(reads[0].size() - 3), ",,1"); // empty field, read-only
    EXPECT_EQ(reads[1], "missing");
    EXPECT_EQ(reads[2], "missing");
    EXPECT_EQ(reads[3], "missing");
    EXPECT_EQ(CommandsReachingHost(run, "30722"), 0);
}

// The "count" step's lines for a dialog: how many were open and whether the
// host's window took input, as "N,enabled".
std::vector<std::string> DialogCounts(const HostRun& run, const char* name) {
    std::vector<std::string> counts;
    for (const HostLogLine& line : run.Of("dialog"))
        if (line.fields[0] == name && line.fields.size() == 4 && line.fields[1] == "count")
            counts.push_back(line.fields[2] + "," + line.fields[3]);
    return counts;
}

// A second command while the dialog is open brings that one forward: a
// second dialog's OK would overwrite what the first stored.
TEST(ConfigureDialog, SecondCommandBringsTheOpenOneForward) {
    const HostRun run = RunHost("clear-settings\n"
                                "at 1.0 command 30721\nat 1.3 dialog configure set 1000 11\n"
                                "at 1.5 command 30721\nat 1.8 dialog configure count\n"
                                "at 1.9 dialog configure read\nat 2.0 dialog configure click 1\n"
                                "at 2.3 dialog configure count\n"
                                "at 2.5 command 30722\nat 2.7 command 30722\n"
                                "at 3.0 dialog about count\nat 3.1 dialog about click 1\n"
                                "at 3.4 dialog about count\n",
                                3.7);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(DialogCounts(run, "configure"), (std::vector<std::string>{"1,0", "0,1"}));
    EXPECT_EQ(DialogReads(run, "configure"), (std::vector<std::string>{"11,0,50,1,0,0,0"}));
    EXPECT_EQ(DialogCounts(run, "about"), (std::vector<std::string>{"1,0", "0,1"}));
    EXPECT_EQ(Settings_Text("FlyByDuration"), "11");
}

// Unloaded with a dialog open, the module closes it first (as Cancel), and
// gives the host its window back; the steps that follow find no dialog, so
// nothing of the unloaded module runs. A dialog left open would run its
// procedure from freed memory at the next message.
TEST(Unload, ClosesTheOpenDialogsFirst) {
    const HostRun run = RunHost("clear-settings\n"
                                "at 1.0 command 30721\nat 1.2 dialog configure set 1000 99\n"
                                "at 1.5 unload\nat 1.7 dialog configure count\n"
                                "at 1.8 dialog configure set 1000 77\n"
                                "at 1.9 dialog configure click 1\n"
                                "at 2.2 load\nat 2.5 command 30722\nat 2.8 unload\n"
                                "at 3.0 dialog about count\nat 3.1 dialog about click 1\n"
                                "at 3.3 load\nat 3.5 command 30721\nat 3.7 dialog configure count\n"
                                "at 3.8 dialog configure click 2\n",
                                4.2);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(DialogCounts(run, "configure"), (std::vector<std::string>{"0,1", "1,0"}));
    EXPECT_EQ(DialogCounts(run, "about"), (std::vector<std::string>{"0,1"}));
    EXPECT_EQ(Settings_Text("FlyByDuration"), "10");
    ASSERT_FALSE(run.Of("end").empty());
}

// The pop-up goes with the module: an entry left in the host's menu would
// offer commands nobody handles any more.
TEST(Unload, TakesThePopUpOutOfTheHostsMenu) {
    const HostRun run = RunHost("clear-settings\nat 1 init-menu\nat 1.1 menu\n"
                                "at 1.3 unload\nat 1.5 menu\n",
                                1.8);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(MenuAt(run, 0).size(), 8u); // the host's two items, separator, pop-up of four
    EXPECT_EQ(MenuAt(run, 1), (std::vector<std::string>{"0,Item one,-", "1,Item two,-"}));
}

} // namespace
