#include "settings/settings_store.h"

#include "app/application_record.h"
#include "core/win32_handles.h"

const char kSettingsKeyPath[] = "Software\\DirectX AppWizard Apps\\OX581_DX9";

namespace {

// Both directions create the key, so it exists after any run that built the record.
bool OpenSettingsKey(RegistryKey& key) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                           nullptr, key.receive(), nullptr) == ERROR_SUCCESS;
}

} // namespace

void ReadDwordValue(HKEY key, const char* name, DWORD* destination, DWORD fallback) {
    DWORD size = sizeof(DWORD);
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(destination),
                         &size) != ERROR_SUCCESS) {
        *destination = fallback;
    }
}

HRESULT WriteDwordValue(HKEY key, const char* name, DWORD value) {
    const LONG result = RegSetValueExA(key, name, 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&value), sizeof(value));
    return result == ERROR_SUCCESS ? 0 : kStatusFailure;
}

void ApplicationRecord::LoadSettings() {
    RegistryKey key;
    if (!OpenSettingsKey(key)) {
        return;
    }
    // The field's own value is the fallback: a missing value changes nothing.
    ReadDwordValue(key.get(), "Width", reinterpret_cast<DWORD*>(&width), static_cast<DWORD>(width));
    ReadDwordValue(key.get(), "Height", reinterpret_cast<DWORD*>(&height),
                   static_cast<DWORD>(height));
}

void ApplicationRecord::StoreSettings() {
    RegistryKey key;
    if (!OpenSettingsKey(key)) {
        return;
    }
    // A failed write is not reported: the viewer is ending and has no one to tell.
    WriteDwordValue(key.get(), "Width", static_cast<DWORD>(width));
    WriteDwordValue(key.get(), "Height", static_cast<DWORD>(height));
}
