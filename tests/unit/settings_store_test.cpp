#include "app/application_record.h"
#include "settings/settings_store.h"
#include "support/settings_key_guard.h"

#include <gtest/gtest.h>

namespace {

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, nullptr,
                                                 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr));
    }
    void TearDown() override { RegCloseKey(key_); }

    DWORD Read(const char* name, DWORD start, DWORD fallback) {
        DWORD destination = start;
        ReadDwordValue(key_, name, &destination, fallback);
        return destination;
    }

    SettingsKeyGuard guard_;
    HKEY key_ = nullptr;
};

TEST_F(SettingsStore, ADwordIsReadAndAMissingValueGivesTheFallback) {
    SetSettingsDword("Width", 1024);
    EXPECT_EQ(1024u, Read("Width", 0xDEADBEEF, 7));
    EXPECT_EQ(7u, Read("Height", 0xDEADBEEF, 7));
}

TEST_F(SettingsStore, AShortValueReplacesOnlyItsOwnBytes) {
    const BYTE two[] = {0x34, 0x12};
    SetSettingsValue("Width", REG_BINARY, two, sizeof(two));
    EXPECT_EQ(0xDEAD1234u, Read("Width", 0xDEADBEEF, 7));
}

TEST_F(SettingsStore, ALongerValueOfAnyTypeGivesTheFallback) {
    const char text[] = "1280 pixels";
    SetSettingsValue("Width", REG_SZ, text, sizeof(text));
    EXPECT_EQ(640u, Read("Width", 0xDEADBEEF, 640));
    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    SetSettingsValue("Height", REG_BINARY, eight, sizeof(eight));
    EXPECT_EQ(480u, Read("Height", 0xDEADBEEF, 480));
}

TEST_F(SettingsStore, WriteStoresAFourByteDwordAndReportsFailure) {
    EXPECT_EQ(0, WriteDwordValue(key_, "Width", 320));
    EXPECT_TRUE(ReadSettingsValue("Width").IsDword(320));

    HKEY readOnly;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath(), 0, KEY_READ, &readOnly));
    EXPECT_EQ(static_cast<HRESULT>(0x80004005L), WriteDwordValue(readOnly, "Height", 1));
    RegCloseKey(readOnly);
    EXPECT_EQ(REG_NONE, ReadSettingsValue("Height").type);
}

TEST(SettingsRecord, ConstructionCreatesTheKeyAndKeepsDefaultsWhenEmpty) {
    SettingsKeyGuard guard;
    ASSERT_FALSE(SettingsKeyExists());
    ApplicationRecord record;
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_EQ(640, record.width);
    EXPECT_EQ(480, record.height);
    EXPECT_EQ(REG_NONE, ReadSettingsValue("Width").type) << "loading must store nothing";
}

TEST(SettingsRecord, StoredSizeIsLoadedAndAStringWidthIgnored) {
    SettingsKeyGuard guard;
    SetSettingsDword("Width", 800);
    SetSettingsDword("Height", 600);
    {
        ApplicationRecord record;
        EXPECT_EQ(800, record.width);
        EXPECT_EQ(600, record.height);
    }
    const char text[] = "800 wide";
    SetSettingsValue("Width", REG_SZ, text, sizeof(text));
    ApplicationRecord record;
    EXPECT_EQ(640, record.width);
    EXPECT_EQ(600, record.height);
}

TEST(SettingsRecord, ShutdownStoresTheRecordsSize) {
    SettingsKeyGuard guard;
    ApplicationRecord record;
    record.width = 320;
    record.height = 240;
    EXPECT_EQ(0, record.Shutdown());
    EXPECT_TRUE(ReadSettingsValue("Width").IsDword(320));
    EXPECT_TRUE(ReadSettingsValue("Height").IsDword(240));
}

} // namespace
