// module/settings_store.cpp
// Loads and saves the settings of the table through the registry store: "%d" text,
// read back with the atol rule (Settings_ParseInteger). Nothing else touches the registry.
#include "module.h"

#include <cstdio>
#include <cstdlib>

static void FillRecord(RegistryValueRecord* record, const char* name) {
    record->rootKey = REGISTRY_LOCAL_MACHINE;
    snprintf(record->subKey, sizeof record->subKey, "%s", SETTINGS_REGISTRY_KEY);
    snprintf(record->valueName, sizeof record->valueName, "%s", name);
}

void Settings_Load(void) {
    RegistryValueRecord record;
    for (const SettingField& field : SETTINGS_FIELDS) {
        FillRecord(&record, field.name);
        if (Registry_ReadValue(&record))
            Settings_Set(g_flyBySettings.*field.member, Settings_ParseInteger(record.data));
    }
}

void Settings_Save(void) {
    RegistryValueRecord record;
    for (const SettingField& field : SETTINGS_FIELDS) {
        FillRecord(&record, field.name);
        snprintf(record.data, sizeof record.data, "%d",
                 static_cast<int>(Settings_Get(g_flyBySettings.*field.member)));
        Registry_WriteValue(&record);
    }
}
