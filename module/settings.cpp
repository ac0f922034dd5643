// module/settings.cpp
// The seven fly-by settings, their registry names and their defaults.
#include "module.h"

#include <algorithm>

FlyBySettings g_flyBySettings;

const SettingField SETTINGS_FIELDS[SETTINGS_COUNT] = {
    {"FlyByActive", &FlyBySettings::FlyByActive},
    {"FlyByDuration", &FlyBySettings::FlyByDuration},
    {"FlyByRelAltitude", &FlyBySettings::FlyByRelAltitude},
    {"FlyByMinDistance", &FlyBySettings::FlyByMinDistance},
    {"FlyByCameraPlacement", &FlyBySettings::FlyByCameraPlacement},
    {"FlyByTravelling", &FlyBySettings::FlyByTravelling},
    {"FlyByFollowTurn", &FlyBySettings::FlyByFollowTurn},
};

int32_t Settings_ParseInteger(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    // Accumulate toward the sign's side so that INT32_MIN needs no overflow.
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        magnitude = std::min<int64_t>(magnitude * 10 + (*text - '0'), limit);
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int32_t Settings_Toggled(int32_t active) {
    return static_cast<int32_t>(std::min<int64_t>(1 - static_cast<int64_t>(active), INT32_MAX));
}

void Settings_SetDefaults(void) {
    Settings_Set(g_flyBySettings.FlyByActive, 1);
    Settings_Set(g_flyBySettings.FlyByDuration, 10);
    Settings_Set(g_flyBySettings.FlyByRelAltitude, 0);
    Settings_Set(g_flyBySettings.FlyByMinDistance, 50);
    Settings_Set(g_flyBySettings.FlyByCameraPlacement, 0);
    Settings_Set(g_flyBySettings.FlyByTravelling, 0);
    Settings_Set(g_flyBySettings.FlyByFollowTurn, 0);
}
