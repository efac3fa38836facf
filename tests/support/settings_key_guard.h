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

// A stored value as a failing check shows it: "dword 320", "none" when missing, or type and size.
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

// Owns the settings key for one test: takes it away before, and puts it back
// as it was afterwards from a copy aside. Failures are left alone.
class SettingsKeyGuard {
  public:
    SettingsKeyGuard() : existed_(SettingsKeyExists()) {
        if (existed_) {
            RegDeleteTreeA(HKEY_CURRENT_USER, kAside); // a copy a killed run left
            Copy(SettingsKeyPath(), kAside);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKeyPath()); // may not be there
    }
    ~SettingsKeyGuard() {
        RegDeleteTreeA(HKEY_CURRENT_USER, SettingsKeyPath());
        if (existed_) {
            Copy(kAside, SettingsKeyPath());
            RegDeleteTreeA(HKEY_CURRENT_USER, kAside);
        }
    }
    SettingsKeyGuard(const SettingsKeyGuard&) = delete;
    SettingsKeyGuard& operator=(const SettingsKeyGuard&) = delete;

  private:
    static constexpr const char* kAside = "Software\\oxview tests: the settings aside";
    // The key with all it holds, the target made when it is missing.
    static void Copy(const char* from, const char* to) {
        RegistryKey target;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            target.receive(), nullptr) == ERROR_SUCCESS) {
            RegCopyTreeA(HKEY_CURRENT_USER, from, target.get());
        }
    }
    bool existed_;
};
