// tests/unit/host_core_test.cpp
// The stand-in simulator's script reader, flight model and camera reading.
#include "host.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(HostScript, ReadsEveryStatementAndSortsEvents) {
    HostScript script;
    std::string error;
    ASSERT_TRUE(
        HostScript_Parse("# a run\nscenario turn\nseconds 12.5\nno-main-window\n"
                         "clear-settings\nsetting FlyByDuration 7\n"
                         "at 9 resume\nat 3 pause   # comment\nat 4 command 30721 1\n"
                         "at 10 dialog configure set 1006 -120\nat 10 dialog configure set 1000\n"
                         "at 11 dialog about check 1005 1\n",
                         &script, &error))
        << error;
    EXPECT_EQ(script.scenario, "turn");
    EXPECT_EQ(script.seconds, 12.5);
    EXPECT_FALSE(script.mainWindow);
    EXPECT_TRUE(script.clearSettings);
    ASSERT_EQ(script.settings.size(), 1u);
    EXPECT_EQ(script.settings[0].text, "7");
    ASSERT_EQ(script.events.size(), 6u);
    EXPECT_EQ(script.events[0].action, HostAction::Pause);
    EXPECT_EQ(script.events[1].action, HostAction::Command);
    EXPECT_EQ(script.events[1].id, 30721);
    EXPECT_EQ(script.events[1].high, 1);
    EXPECT_EQ(script.events[2].action, HostAction::Resume);
    EXPECT_EQ(script.events[3].step, HostDialogStep::Set);
    EXPECT_EQ(script.events[3].id, 1006);
    EXPECT_EQ(script.events[3].text, "-120");
    EXPECT_EQ(script.events[4].text, ""); // an empty box
    EXPECT_EQ(script.events[5].step, HostDialogStep::Check);
    EXPECT_EQ(script.events[5].dialog, "about");
    EXPECT_EQ(script.events[5].high, 1);
}

TEST(HostScript, ReadsClockCycleCountAndDwordSettings) {
    HostScript script;
    std::string error;
    ASSERT_TRUE(HostScript_Parse("setting-dword FlyByDuration 4294967295\nat 1 clock 20160.0015\n"
                                 "at 2 cycle 1000\nat 3 dialog about count\nat 4 memory\n",
                                 &script, &error))
        << error;
    ASSERT_EQ(script.settings.size(), 1u);
    EXPECT_TRUE(script.settings[0].dword);
    EXPECT_EQ(script.settings[0].text, "4294967295");
    ASSERT_EQ(script.events.size(), 4u);
    EXPECT_EQ(script.events[0].action, HostAction::Clock);
    EXPECT_EQ(script.events[0].value, 20160.0015);
    EXPECT_EQ(script.events[1].action, HostAction::Cycle);
    EXPECT_EQ(script.events[1].id, 1000);
    EXPECT_EQ(script.events[2].step, HostDialogStep::Count);
    EXPECT_EQ(script.events[2].dialog, "about");
    EXPECT_EQ(script.events[3].action, HostAction::Memory);
}

TEST(HostScript, NamesTheLineOfAnError) {
    const char* bad[] = {"scenario nowhere",    "seconds -1",
                         "at x pause",          "at 2 fly",
                         "at 2 command",        "frobnicate",
                         "at 2 pause now",      "at 2",
                         "at 2 clock",          "at 2 clock -5",
                         "at 2 cycle 0",        "at 2 cycle 70000",
                         "at 2 memory now",     "at 2 dialog about count 3",
                         "setting-dword A -1",  "setting-dword A 4294967296",
                         "setting-dword A 1.5", "at 2 key sideways"};
    for (const char* text : bad) {
        HostScript script;
        std::string error;
        EXPECT_FALSE(HostScript_Parse(std::string("seconds 3\n") + text, &script, &error)) << text;
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
    }
}

TEST(HostFlight, StraightScenarioFliesEastAtItsSpeed) {
    HostFlight flight;
    ASSERT_TRUE(HostFlight_Start(&flight, "straight"));
    EXPECT_EQ(flight.latitudeDeg, 47.0);
    EXPECT_NEAR(flight.altitudeM * 3.28084, 3000.0, 1e-6);
    for (int i = 0; i < 100; ++i)
        HostFlight_Advance(&flight, 0.1);
    const double metres = (flight.longitudeDeg - 8.0) * 3.141592653589793 / 180 * 6367310.0 *
                          cos(47.0 * 3.141592653589793 / 180);
    EXPECT_NEAR(metres, 1000.0, 0.5);
    EXPECT_NEAR(flight.clockS, 10.0, 1e-9);
    EXPECT_NEAR(HostFlight_Value(&flight, 0x47), 47.0 * 111130.0, 1e-3);
    EXPECT_EQ(HostFlight_Value(&flight, 0x3D), 360.0);
    EXPECT_EQ(HostFlight_Value(&flight, 0x99), 0.0);
}

TEST(HostFlight, ClockIsOneAFloatHoldsSoAPauseCanBeSeen) {
    HostFlight flight;
    ASSERT_TRUE(HostFlight_Start(&flight, "straight"));
    for (int i = 0; i < 3000; ++i) {
        HostFlight_Advance(&flight, 0.0173);
        const double clock = HostFlight_Value(&flight, 0x05);
        ASSERT_EQ(static_cast<double>(static_cast<float>(clock)), clock) << i;
    }
}

TEST(HostCamera, ReadsNegativeWordsWithTheSignOfTheWholePart) {
    const HostCameraWords words = {1073741823u, -5000000, 0, static_cast<int32_t>(0xC0000000u),
                                   -30};
    double lat, lon, alt;
    HostCamera_Decode(&words, &lat, &lon, &alt);
    EXPECT_NEAR(lat, -5000000.25 / 10001700.0 * 90.0, 1e-9);
    EXPECT_NEAR(lon, -90.0, 1e-9);
    EXPECT_NEAR(alt, -30 / 0.3048, 1e-9);
}

} // namespace
