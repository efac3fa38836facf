#pragma once

#include "core/win32_handles.h"

#include <windows.h>

#include <cstring>
#include <string>

// The viewer's settings key under HKEY_CURRENT_USER.
inline const char* SettingsKeyPath() {
    return "Software\\DirectX AppWizard Apps\\OX581_DX9";
}

inline bool SettingsKeyExists() {
    RegistryKey key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, KEY_READ, key.receive()) ==
           ERROR_SUCCESS;
}

// Sets one value of the settings key, creating the key.
inline void SetSettingsValue(const char* name, DWORD type, const void* data, DWORD size) {
    RegSetKeyValueA(HKEY_CURRENT_USER, SettingsKeyPath(), name, type, data, size);
}

inline void SetSettingsDword(const char* name, DWORD value) {
    SetSettingsValue(name, REG_DWORD, &value, sizeof(value));
}

// A stored value as a failing check shows it: "dword 320", "none" when it
// is missing, else its type and size.
inline std::string StoredSetting(const char* name) {
    DWORD type = REG_NONE;
    BYTE data[256];
    DWORD size = sizeof(data);
    if (RegGetValueA(HKEY_CURRENT_USER, SettingsKeyPath(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                     data, &size) != ERROR_SUCCESS) {
        return "none";
    }
    DWORD value = 0;
    if (type == REG_DWORD && size == sizeof(value)) {
        std::memcpy(&value, data, sizeof(value));
        return "dword " + std::to_string(value);
    }
    return "type " + std::to_string(type) + ", " + std::to_string(size) + " bytes";
}

// Owns the settings key for one test: takes the key away before, and puts
// back whatever values it held afterwards. Failures are left alone: a test
// has nobody to report them to.
class SettingsKeyGuard {
  public:
    SettingsKeyGuard() : existed_(SettingsKeyExists()) {
        for (Saved& value : saved_) {
            if (RegGetValueA(HKEY_CURRENT_USER, SettingsKeyPath(), value.name,
                             RRF_RT_ANY | RRF_NOEXPAND, &value.type, value.data,
                             &value.size) != ERROR_SUCCESS) {
                value.type = REG_NONE;
            }
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKeyPath()); // may not be there
    }
    ~SettingsKeyGuard() {
        RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKeyPath());
        RegistryKey key; // the key as it was, even without values
        if (existed_ &&
            RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, key.receive(), nullptr) == ERROR_SUCCESS) {
            for (const Saved& value : saved_) {
                if (value.type != REG_NONE) {
                    RegSetValueExA(key.get(), value.name, 0, value.type, value.data, value.size);
                }
            }
        }
    }
    SettingsKeyGuard(const SettingsKeyGuard&) = delete;
    SettingsKeyGuard& operator=(const SettingsKeyGuard&) = delete;

  private:
    struct Saved {
        const char* name;
        DWORD type = REG_NONE;
        BYTE data[256] = {};
        DWORD size = sizeof(data);
    };
    bool existed_;
    Saved saved_[2] = {{"Width"}, {"Height"}};
};
