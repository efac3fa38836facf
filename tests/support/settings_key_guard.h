#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The viewer's settings key under HKEY_CURRENT_USER.
inline const char* SettingsKeyPath() {
    return "Software\\DirectX AppWizard Apps\\OX581_DX9";
}

// Owns the settings key for one test: takes the key away before, and puts
// back whatever values it held afterwards.
class SettingsKeyGuard {
  public:
    SettingsKeyGuard() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, KEY_READ, &key) ==
            ERROR_SUCCESS) {
            existed_ = true;
            Save(key, "Width");
            Save(key, "Height");
            RegCloseKey(key);
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, SettingsKeyPath()); // may not be there
    }
    ~SettingsKeyGuard() {
        RegDeleteKeyA(HKEY_CURRENT_USER, SettingsKeyPath());
        if (!existed_) {
            return;
        }
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        for (const Saved& value : saved_) {
            RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        }
        RegCloseKey(key);
    }
    SettingsKeyGuard(const SettingsKeyGuard&) = delete;
    SettingsKeyGuard& operator=(const SettingsKeyGuard&) = delete;

  private:
    struct Saved {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    void Save(HKEY key, const char* name) {
        BYTE data[256];
        DWORD size = sizeof(data);
        DWORD type = 0;
        if (RegQueryValueExA(key, name, nullptr, &type, data, &size) == ERROR_SUCCESS) {
            saved_.push_back({name, type, std::vector<BYTE>(data, data + size)});
        }
    }
    bool existed_ = false;
    std::vector<Saved> saved_;
};

inline bool SettingsKeyExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// Sets one value of the settings key, creating the key.
inline void SetSettingsValue(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
}

inline void SetSettingsDword(const char* name, DWORD value) {
    SetSettingsValue(name, REG_DWORD, &value, sizeof(value));
}

// A stored value as it is: type and bytes; type 0 (REG_NONE) and no bytes
// when it is missing.
struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool IsDword(DWORD expected) const {
        return type == REG_DWORD && data.size() == 4 &&
               (data[0] | data[1] << 8 | data[2] << 16 | static_cast<DWORD>(data[3]) << 24) ==
                   expected;
    }
};

inline StoredValue ReadSettingsValue(const char* name) {
    StoredValue value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return value;
    }
    BYTE data[256];
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, data, &size) == ERROR_SUCCESS) {
        value.type = type;
        value.data.assign(data, data + size);
    }
    RegCloseKey(key);
    return value;
}
