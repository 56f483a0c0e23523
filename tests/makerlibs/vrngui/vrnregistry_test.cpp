#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"
#include "VRNGUI90Ux64.h"
#include "win32/registry_store.h"

namespace fs = std::filesystem;

namespace {

class VRNRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { arxhost::registry::SetFileOverride(folder_ / "registry.reg"); }
  void TearDown() override { arxhost::registry::SetFileOverride(std::nullopt); }
  TempFolder folder_;
};

const wchar_t* const kKey = L"Software\\Varnel\\Probe";

}  // namespace

TEST_F(VRNRegistryTest, IntegersComeBackAsWrittenAndDefaultsStandInForTheRest) {
  {
    VRNRegistry registry;
    EXPECT_EQ(registry.ReadInt(L"Count", 7), 7) << "no key named yet";
    EXPECT_EQ(registry.WriteInt(L"Count", 1), 0);
    EXPECT_EQ(registry.SetKey(kKey, 1), 1);
    EXPECT_EQ(registry.ReadInt(L"Count", 7), 7) << "nothing stored";
    for (int value : {0, 1, -1, 2147483647, -2147483647 - 1}) {
      EXPECT_EQ(registry.WriteInt(L"Count", value), 1);
      EXPECT_EQ(registry.ReadInt(L"Count", 7), value);
    }
  }
  // A new object on the same key sees what the last one stored.
  VRNRegistry again;
  again.SetKey(kKey, 1);
  EXPECT_EQ(again.ReadInt(L"count", 7), -2147483647 - 1);

  // A text under the name is not an integer.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_WRITE, &key), ERROR_SUCCESS);
  const wchar_t text[] = L"12";
  RegSetValueExW(key, L"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  RegCloseKey(key);
  EXPECT_EQ(again.ReadInt(L"Text", 7), 7);
}

TEST_F(VRNRegistryTest, OnlyKnownHivesAndNamedKeysAreAccepted) {
  VRNRegistry registry;
  EXPECT_EQ(registry.SetKey(kKey, 0), 0);
  EXPECT_EQ(registry.WriteInt(L"Count", 1), 0);
  EXPECT_EQ(registry.SetKey(L"", 1), 0);
  EXPECT_EQ(registry.WriteInt(L"Count", 1), 0);
  // The machine hive exists but takes no writes from this user.
  EXPECT_EQ(registry.SetKey(kKey, 2), 1);
  EXPECT_EQ(registry.WriteInt(L"Count", 1), 0);
  EXPECT_EQ(registry.ReadInt(L"Count", 5), 5);
  EXPECT_FALSE(fs::exists(folder_ / "registry.reg"));
}
