#include "app/application_record.h"
#include "settings/settings_store.h"
#include "support/settings_key_guard.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, key_.receive(), nullptr));
    }

    DWORD Read(const char* name, DWORD start, DWORD fallback) {
        DWORD destination = start;
        ReadDwordValue(key_.get(), name, &destination, fallback);
        return destination;
    }

    SettingsKeyGuard guard_;
    RegistryKey key_;
};

TEST_F(SettingsStore, ReadTakesUpToFourBytesOfAnyValueAndOtherwiseTheFallback) {
    SetSettingsDword("Width", 1024);
    EXPECT_EQ(1024u, Read("Width", 0xDEADBEEF, 7));
    EXPECT_EQ(7u, Read("Height", 0xDEADBEEF, 7)) << "a missing value";
    const BYTE two[] = {0x34, 0x12};
    SetSettingsValue("Width", REG_BINARY, two, sizeof(two));
    EXPECT_EQ(0xDEAD1234u, Read("Width", 0xDEADBEEF, 7)) << "a short value replaces its own bytes";
    const char text[] = "1280 pixels"; // longer values of any type give the fallback
    SetSettingsValue("Width", REG_SZ, text, sizeof(text));
    EXPECT_EQ(640u, Read("Width", 0xDEADBEEF, 640));
    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    SetSettingsValue("Height", REG_BINARY, eight, sizeof(eight));
    EXPECT_EQ(480u, Read("Height", 0xDEADBEEF, 480));
}

TEST_F(SettingsStore, WriteStoresAFourByteDwordAndReportsFailure) {
    EXPECT_EQ(0, WriteDwordValue(key_.get(), "Width", 320));
    EXPECT_EQ("dword 320", StoredSetting("Width"));

    RegistryKey readOnly;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, KEY_READ, readOnly.receive()));
    EXPECT_EQ(static_cast<HRESULT>(0x80004005L), WriteDwordValue(readOnly.get(), "Height", 1));
    EXPECT_EQ("none", StoredSetting("Height"));
}

TEST(SettingsRecord, ConstructionCreatesTheKeyAndKeepsDefaultsWhenEmpty) {
    SettingsKeyGuard guard;
    ASSERT_FALSE(SettingsKeyExists());
    ApplicationRecord record;
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_EQ(std::make_pair(640, 480), std::make_pair(record.width, record.height));
    EXPECT_EQ("none", StoredSetting("Width")) << "loading must store nothing";
}

// Values of other types and sizes are the reader's (above).
TEST(SettingsRecord, StoredSizeIsLoaded) {
    SettingsKeyGuard guard;
    SetSettingsDword("Width", 800);
    SetSettingsDword("Height", 600);
    ApplicationRecord record;
    EXPECT_EQ(std::make_pair(800, 600), std::make_pair(record.width, record.height));
}

} // namespace
