// module/settings.cpp
// The six fly-by settings, their registry names and their defaults.
#include "module.h"

FlyBySettings g_flyBySettings;

const SettingField SETTINGS_FIELDS[SETTINGS_COUNT] = {
    {"FlyByActive", &FlyBySettings::FlyByActive},
    {"FlyByDuration", &FlyBySettings::FlyByDuration},
    {"FlyByRelAltitude", &FlyBySettings::FlyByRelAltitude},
    {"FlyByMinDistance", &FlyBySettings::FlyByMinDistance},
    {"FlyByCameraPlacement", &FlyBySettings::FlyByCameraPlacement},
    {"FlyByTravelling", &FlyBySettings::FlyByTravelling},
};

void Settings_SetDefaults(void) {
    Settings_Set(g_flyBySettings.FlyByActive, 1);
    Settings_Set(g_flyBySettings.FlyByDuration, 10);
    Settings_Set(g_flyBySettings.FlyByRelAltitude, 0);
    Settings_Set(g_flyBySettings.FlyByMinDistance, 50);
    Settings_Set(g_flyBySettings.FlyByCameraPlacement, 0);
    Settings_Set(g_flyBySettings.FlyByTravelling, 0);
}
