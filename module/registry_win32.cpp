// module/registry_win32.cpp
// Reads and writes one registry value as text for the settings store.
#include "module.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

static HKEY RootKey(const RegistryValueRecord* record) {
    return reinterpret_cast<HKEY>(record->rootKey);
}

int32_t Registry_ReadValue(RegistryValueRecord* record) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootKey(record), record->subKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return 0;
    // A REG_DWORD (what a user with a registry editor is likely to make) is
    // its number, as the signed 32-bit setting it stands for; the bytes of
    // any other type are taken as text. A value that fills the buffer
    // without a terminating NUL is cut at 255 characters; a larger one fails
    // the query and leaves the caller's default.
    BYTE buffer[REGISTRY_READ_BUFFER_SIZE] = {};
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    int32_t result = 0;
    if (RegQueryValueExA(key, record->valueName, nullptr, &type, buffer, &size) == ERROR_SUCCESS) {
        if (type == REG_DWORD && size == sizeof(DWORD)) {
            DWORD number = 0;
            memcpy(&number, buffer, sizeof number);
            snprintf(record->data, sizeof record->data, "%ld",
                     static_cast<long>(static_cast<int32_t>(number)));
        } else {
            size_t length = strnlen(reinterpret_cast<const char*>(buffer), sizeof buffer - 1);
            memcpy(record->data, buffer, length);
            record->data[length] = '\0';
        }
        result = 1;
    }
    RegCloseKey(key);
    return result;
}

int32_t Registry_WriteValue(RegistryValueRecord* record) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootKey(record), record->subKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        char emptyClass[] = "";
        DWORD disposition = 0;
        if (RegCreateKeyExA(RootKey(record), record->subKey, 0, emptyClass, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
            return 0;
    }
    record->data[sizeof record->data - 1] = '\0';
    const size_t length = strlen(record->data) + 1; // with its NUL
    const DWORD size = static_cast<DWORD>(length);
    int32_t result =
        RegSetValueExA(key, record->valueName, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(record->data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return result;
}
