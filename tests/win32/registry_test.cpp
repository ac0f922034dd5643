// tests/win32/registry_test.cpp
// The settings store against Wine's real registry: defaults, the atol rule,
// odd value types and sizes, and what a save leaves behind.
#include "module.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char* const KEY = SETTINGS_REGISTRY_KEY;

void DeleteSettingsKey() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, KEY);
}

void Store(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void StoreText(const char* name, const std::string& text) {
    Store(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size()) + 1);
}

// The stored value's type, size and bytes; false when it is missing.
bool Fetch(const char* name, DWORD* type, std::string* bytes) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char buffer[1024];
    DWORD size = sizeof buffer;
    const bool ok = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(buffer),
                                     &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (ok)
        bytes->assign(buffer, size);
    return ok;
}

struct SettingsStore : ::testing::Test {
    void SetUp() override {
        DeleteSettingsKey();
        Settings_SetDefaults();
    }
    void TearDown() override { DeleteSettingsKey(); }
    int32_t Loaded(const char* name) {
        for (const SettingField& field : SETTINGS_FIELDS)
            if (strcmp(field.name, name) == 0)
                return Settings_Get(g_flyBySettings.*field.member);
        ADD_FAILURE() << name;
        return 0;
    }
};

TEST_F(SettingsStore, WithoutAKeyDefaultsStayAndSaveWritesEightTextValues) {
    Settings_Load();
    const char* expect[SETTINGS_COUNT] = {"1", "10", "0", "50", "0", "0", "0", "100"};
    for (int i = 0; i < SETTINGS_COUNT; ++i)
        EXPECT_EQ(Loaded(SETTINGS_FIELDS[i].name), atoi(expect[i]));
    Settings_Save();
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(Fetch(SETTINGS_FIELDS[i].name, &type, &bytes)) << SETTINGS_FIELDS[i].name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(bytes, std::string(expect[i]) + '\0') << "text plus its NUL";
    }
}

struct TextCase {
    const char* stored;
    int32_t loaded;
};

TEST_F(SettingsStore, LoadsTextWithTheAtolRule) {
    const TextCase cases[] = {{"-80", -80},
                              {"12abc", 12},
                              {"abc", 0},
                              {"   7", 7},
                              {"", 0},
                              {"+5", 5},
                              {"-2147483648", INT32_MIN}};
    for (const TextCase& c : cases) {
        StoreText("FlyByMinDistance", c.stored);
        Settings_SetDefaults();
        Settings_Load();
        EXPECT_EQ(Loaded("FlyByMinDistance"), c.loaded) << '"' << c.stored << '"';
    }
}

// The pass share is stored and saved as it stands, like every setting; a
// value outside 10 to 100 is used as 100 without being rewritten.
TEST_F(SettingsStore, PassShareLoadsAsStoredAndOutsideItsRangeIsUsedAsHundred) {
    const struct {
        const char* stored;
        int32_t loaded, used;
    } cases[] = {{"60", 60, 60}, {"10", 10, 10}, {"9", 9, 100}, {"250", 250, 100}, {"x", 0, 100}};
    for (const auto& c : cases) {
        StoreText("FlyByPassAt", c.stored);
        Settings_SetDefaults();
        Settings_Load();
        EXPECT_EQ(Loaded("FlyByPassAt"), c.loaded) << c.stored;
        EXPECT_EQ(Settings_GetUsable(&FlyBySettings::FlyByPassAt), c.used) << c.stored;
        Settings_Save();
        DWORD type;
        std::string bytes;
        ASSERT_TRUE(Fetch("FlyByPassAt", &type, &bytes));
        EXPECT_EQ(bytes, std::to_string(c.loaded) + '\0') << c.stored;
    }
}

TEST_F(SettingsStore, NegativeValuesAreSavedWithTheirSign) {
    StoreText("FlyByMinDistance", "-80");
    Settings_Load();
    Settings_Save();
    DWORD type;
    std::string bytes;
    ASSERT_TRUE(Fetch("FlyByMinDistance", &type, &bytes));
    EXPECT_EQ(bytes, std::string("-80") + '\0');
}

// A REG_DWORD is its number, taken as the signed 32-bit setting; the next
// save writes it back as text. Other types are read as text.
TEST_F(SettingsStore, ReadsADwordAsItsNumberAndSavesItAsText) {
    const struct {
        DWORD stored;
        int32_t loaded;
        const char* saved;
    } cases[] = {
        {15, 15, "15"},
        {0x37, 55, "55"}, // its bytes spell "7": read as text it gave 7
        {5, 5, "5"},      // a control byte as text: it gave 0
        {0, 0, "0"},
        {0xFFFFFFF6u, -10, "-10"},
        {0x7FFFFFFFu, INT32_MAX, "2147483647"},
        {0x80000000u, INT32_MIN, "-2147483648"},
    };
    for (const auto& c : cases) {
        Store("FlyByDuration", REG_DWORD, &c.stored, sizeof c.stored);
        Settings_SetDefaults();
        Settings_Load();
        EXPECT_EQ(Loaded("FlyByDuration"), c.loaded) << c.stored;
        Settings_Save();
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(Fetch("FlyByDuration", &type, &bytes));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << c.stored;
        EXPECT_EQ(bytes, std::string(c.saved) + '\0') << c.stored;
    }
    const char seven[4] = {'7', 0, 0, 0};
    Store("FlyByRelAltitude", REG_BINARY, seven, sizeof seven);
    Settings_Load();
    EXPECT_EQ(Loaded("FlyByRelAltitude"), 7);
}

TEST_F(SettingsStore, OversizedValuesNeverOverrunTheRecord) {
    // 256 bytes without a NUL fill the read buffer: cut at 255 characters.
    std::string full = "42" + std::string(254, ' ');
    Store("FlyByDuration", REG_BINARY, full.data(), static_cast<DWORD>(full.size()));
    // More than the buffer holds: refused, the default stays.
    StoreText("FlyByRelAltitude", "9" + std::string(400, '9'));

    struct {
        RegistryValueRecord record;
        char guard[64];
    } probe;
    memset(&probe, 0x5A, sizeof probe);
    probe.record.rootKey = REGISTRY_LOCAL_MACHINE;
    strcpy(probe.record.subKey, KEY);
    strcpy(probe.record.valueName, "FlyByDuration");
    ASSERT_EQ(Registry_ReadValue(&probe.record), 1);
    EXPECT_EQ(strlen(probe.record.data), 255u);
    EXPECT_EQ(std::string(probe.guard, 64), std::string(64, 0x5A));
    strcpy(probe.record.valueName, "FlyByRelAltitude");
    EXPECT_EQ(Registry_ReadValue(&probe.record), 0);

    Settings_Load();
    EXPECT_EQ(Loaded("FlyByDuration"), 42);
    EXPECT_EQ(Loaded("FlyByRelAltitude"), 0);
}

TEST_F(SettingsStore, WriteCreatesTheKeyAndReadFailsWithoutIt) {
    RegistryValueRecord record = {};
    record.rootKey = REGISTRY_LOCAL_MACHINE;
    strcpy(record.subKey, KEY);
    strcpy(record.valueName, "FlyByTravelling");
    EXPECT_EQ(Registry_ReadValue(&record), 0);
    strcpy(record.data, "1");
    EXPECT_EQ(Registry_WriteValue(&record), 1);
    strcpy(record.data, "junk");
    EXPECT_EQ(Registry_ReadValue(&record), 1);
    EXPECT_STREQ(record.data, "1");
}

} // namespace
