// module/settings.cpp
// The settings' table (rows in module.h), their defaults and the rules that
// turn stored or typed text and out-of-range values into what is used.
#include "module.h"

#include <algorithm>
#include <cstring>

FlyBySettings g_flyBySettings;

const SettingField SETTINGS_FIELDS[SETTINGS_COUNT] = {
#define FLYBY_SETTING_ROW(member, field, option, defaultValue, minimum, maximum, outside, label,   \
                          help)                                                                    \
    {#member, &FlyBySettings::member, option, defaultValue, minimum, maximum, outside, label, help},
    FLYBY_SETTINGS(FLYBY_SETTING_ROW)
#undef FLYBY_SETTING_ROW
};

const SettingField* Settings_Find(const char* name) {
    for (const SettingField& field : SETTINGS_FIELDS)
        if (strcmp(field.name, name) == 0)
            return &field;
    return nullptr;
}

int32_t Settings_Usable(const SettingField* field, int32_t value) {
    if (field->outsideReadsDefault && (value < field->minimum || value > field->maximum))
        return field->defaultValue;
    return value;
}

int32_t Settings_GetUsable(std::atomic<int32_t> FlyBySettings::*member) {
    for (const SettingField& field : SETTINGS_FIELDS)
        if (field.member == member)
            return Settings_Usable(&field, Settings_Get(g_flyBySettings.*member));
    return Settings_Get(g_flyBySettings.*member);
}

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
    for (const SettingField& field : SETTINGS_FIELDS)
        Settings_Set(g_flyBySettings.*field.member, field.defaultValue);
}
