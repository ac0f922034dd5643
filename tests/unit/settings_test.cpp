// tests/unit/settings_test.cpp
// The atol rule the settings are read with, registry text and dialog boxes
// alike, and the defaults.
#include "module.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* text;
    int32_t value;
};

TEST(SettingsParseInteger, FollowsTheAtolRuleAndSaturatesBeyond32Bits) {
    const ParseCase cases[] = {
        {"-80", -80},
        {"12abc", 12},
        {"abc", 0},
        {"   7", 7},
        {"\t\n+5", 5},
        {"", 0},
        {"-", 0},
        {"- 5", 0},
        {"0042", 42},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", INT32_MAX},
        {"-99999999999999999999", INT32_MIN},
        {"1e5", 1},
        {"--3", 0},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(Settings_ParseInteger(c.text), c.value) << '"' << c.text << '"';
}

// The menu's toggle: 0 and 1 swap, anything else stays on, and the two
// values whose 1 - value does not fit saturate instead of overflowing.
TEST(SettingsToggled, SwapsZeroAndOneAndKeepsOtherValuesOn) {
    const int32_t cases[][2] = {{0, 1},
                                {1, 0},
                                {5, -4},
                                {-4, 5},
                                {INT32_MAX, -2147483646},
                                {-2147483646, INT32_MAX},
                                {-2147483647, INT32_MAX},
                                {INT32_MIN, INT32_MAX}};
    for (const auto& c : cases)
        EXPECT_EQ(Settings_Toggled(c[0]), c[1]) << c[0];
}

TEST(SettingsDefaults, AreOneTenZeroFiftyZeroZeroZeroInRegistryOrder) {
    Settings_Set(g_flyBySettings.FlyByDuration, 99);
    Settings_Set(g_flyBySettings.FlyByFollowTurn, 1);
    Settings_SetDefaults();
    const char* names[] = {"FlyByActive",      "FlyByDuration",        "FlyByRelAltitude",
                           "FlyByMinDistance", "FlyByCameraPlacement", "FlyByTravelling",
                           "FlyByFollowTurn"};
    const int32_t values[] = {1, 10, 0, 50, 0, 0, 0};
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        EXPECT_STREQ(SETTINGS_FIELDS[i].name, names[i]);
        EXPECT_EQ(Settings_Get(g_flyBySettings.*SETTINGS_FIELDS[i].member), values[i]) << names[i];
    }
}

} // namespace
