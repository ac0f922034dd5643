// tests/unit/settings_test.cpp
// The atol rule the settings are read with, registry text and dialog boxes
// alike, the defaults and the table they come from.
#include "module.h"

#include <gtest/gtest.h>

#include <cstring>

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

TEST(SettingsDefaults, AreOneTenZeroFiftyZeroZeroZeroHundredInRegistryOrder) {
    Settings_Set(g_flyBySettings.FlyByDuration, 99);
    Settings_Set(g_flyBySettings.FlyByFollowTurn, 1);
    Settings_Set(g_flyBySettings.FlyByPassAt, 60);
    Settings_SetDefaults();
    const char* names[] = {"FlyByActive",      "FlyByDuration",        "FlyByRelAltitude",
                           "FlyByMinDistance", "FlyByCameraPlacement", "FlyByTravelling",
                           "FlyByFollowTurn",  "FlyByPassAt"};
    const int32_t values[] = {1, 10, 0, 50, 0, 0, 0, 100};
    ASSERT_EQ(SETTINGS_COUNT, 8);
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        EXPECT_STREQ(SETTINGS_FIELDS[i].name, names[i]);
        EXPECT_EQ(Settings_Get(g_flyBySettings.*SETTINGS_FIELDS[i].member), values[i]) << names[i];
    }
}

// The table's rows are what the store, the replay's options and the
// documents rely on: distinct names and options, each row bound to its own
// member, defaults inside the range of a row that falls back to them, and
// the dialog's labels on the five settings the dialog shows.
TEST(SettingsTable, RowsAreDistinctAndConsistent) {
    int inDialog = 0;
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        const SettingField& a = SETTINGS_FIELDS[i];
        EXPECT_EQ(Settings_Find(a.name), &a) << a.name;
        EXPECT_LE(a.minimum, a.maximum) << a.name;
        if (a.outsideReadsDefault) {
            EXPECT_GE(a.defaultValue, a.minimum) << a.name;
            EXPECT_LE(a.defaultValue, a.maximum) << a.name;
        }
        EXPECT_GT(strlen(a.help), 10u) << a.name;
        inDialog += a.dialogLabel[0] != '\0';
        for (int j = i + 1; j < SETTINGS_COUNT; ++j) {
            const SettingField& b = SETTINGS_FIELDS[j];
            EXPECT_STRNE(a.name, b.name);
            EXPECT_STRNE(a.option, b.option);
            EXPECT_NE(a.member, b.member) << a.name << " and " << b.name;
        }
    }
    EXPECT_EQ(inDialog, 5);
    EXPECT_EQ(Settings_Find("FlyByNothing"), nullptr);
}

// Out of its range, a setting that falls back reads as its default (the
// pass share: 10 to 100, others 100); the others are used as they are.
TEST(SettingsUsable, FallsBackOutsideTheRangeOnlyWhereTheRowSaysSo) {
    const struct {
        const char* name;
        int32_t stored, used;
    } cases[] = {
        {"FlyByPassAt", 60, 60},        {"FlyByPassAt", 10, 10},
        {"FlyByPassAt", 100, 100},      {"FlyByPassAt", 9, 100},
        {"FlyByPassAt", 101, 100},      {"FlyByPassAt", 0, 100},
        {"FlyByPassAt", -60, 100},      {"FlyByPassAt", INT32_MIN, 100},
        {"FlyByCameraPlacement", 7, 7}, {"FlyByDuration", -3, -3},
        {"FlyByTravelling", 5, 5},      {"FlyByMinDistance", INT32_MAX, INT32_MAX},
    };
    for (const auto& c : cases) {
        const SettingField* field = Settings_Find(c.name);
        ASSERT_NE(field, nullptr) << c.name;
        EXPECT_EQ(Settings_Usable(field, c.stored), c.used) << c.name << ' ' << c.stored;
        Settings_Set(g_flyBySettings.*field->member, c.stored);
        EXPECT_EQ(Settings_GetUsable(field->member), c.used) << c.name << ' ' << c.stored;
    }
    Settings_SetDefaults();
}

} // namespace
