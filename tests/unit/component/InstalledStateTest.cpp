#include <gtest/gtest.h>

#include <set>

#include "component/ComponentTypes.h"
#include "component/InstalledState.h"

namespace {

TEST(DecideInstalled, NeedsKeyTextValuesAndEveryKeyFile) {
  const std::set<std::wstring> launcherFiles = {L"C:\\Shop\\Shoplet.exe", L"C:\\Shop\\Ovx.dll"};
  const std::set<std::wstring> missingDll = {L"C:\\Shop\\Shoplet.exe"};
  struct Case {
    const char* what;
    InstalledReadings readings;
    const std::set<std::wstring>* files;
    bool installed;
  } cases[] = {
      {"all there, trailing backslash", {true, L"C:\\Shop\\", L"1.0.0.1"}, &launcherFiles, true},
      {"all there, no trailing backslash", {true, L"C:\\Shop", L"1.0.0.1"}, &launcherFiles, true},
      {"key missing", {false, L"C:\\Shop\\", L"1.0.0.1"}, &launcherFiles, false},
      {"InstallPath unreadable", {true, std::nullopt, L"1.0.0.1"}, &launcherFiles, false},
      {"Version not text (a REG_DWORD)", {true, L"C:\\Shop\\", std::nullopt}, &launcherFiles, false},
      {"a key file missing", {true, L"C:\\Shop\\", L"1.0.0.1"}, &missingDll, false},
  };
  for (const Case& c : cases) {
    InstalledInfo info;
    info.version = L"untouched";
    auto exists = [&](const std::wstring& path) { return c.files->count(path) != 0; };
    DecideInstalled(kComponentShoplet, c.readings, exists, info);
    EXPECT_EQ(info.installed, c.installed) << c.what;
    if (c.installed) {
      EXPECT_EQ(info.version, *c.readings.version) << c.what;
      EXPECT_EQ(info.path, *c.readings.installPath) << c.what;  // stored as read
    } else {
      EXPECT_EQ(info.version, L"untouched") << c.what;
    }
  }
}

TEST(DecideInstalled, StopsAtTheFirstMissingKeyFile) {
  std::vector<std::wstring> asked;
  auto exists = [&](const std::wstring& path) {
    asked.push_back(path);
    return false;
  };
  InstalledInfo info;
  DecideInstalled(kComponentVDI, {true, L"D:\\vm", L"1"}, exists, info);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], L"D:\\vm\\android_data_disk.vdi");
}

TEST(AreAllComponentsInstalled, EmptyMapCountsAsInstalled) {
  EXPECT_TRUE(AreAllComponentsInstalled({}));
  InstalledComponentMap map;
  map[7].installed = true;
  EXPECT_TRUE(AreAllComponentsInstalled(map));
  map[1].installed = false;
  EXPECT_FALSE(AreAllComponentsInstalled(map));
}

TEST(ComponentTypes, KeyFilesAndKeysPerType) {
  EXPECT_EQ(ComponentKeyFiles(kComponentVDI71), ComponentKeyFiles(kComponentVDI));
  EXPECT_EQ(ComponentKeyFiles(kComponentRootfs), std::vector<std::wstring>{L"inode"});
  EXPECT_TRUE(ComponentKeyFiles(4).empty());
  EXPECT_STREQ(ComponentRegistryKey(kComponentMarrow), L"Software\\AndroidMarrow");
  EXPECT_EQ(ComponentRegistryKey(99), nullptr);
}

}  // namespace
