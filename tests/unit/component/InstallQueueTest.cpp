#include <gtest/gtest.h>

#include "component/ComponentTypes.h"
#include "component/InstallQueue.h"

namespace {

ComponentItem Named(int32_t id, const wchar_t* name) {
  ComponentItem item;
  item.id = id;
  item.name = name;
  return item;
}

ComponentItem Valid() {
  ComponentItem item;
  item.id = 7;
  item.name = L"shoplet.exe";
  item.url = L"https://localhost:28443/shoplet.exe";
  item.hash = L"0123456789ABCDEF0123456789abcdef";
  item.localaddpath = L"Shoplet";
  item.writePathToRegKey = L"Software\\Corvane\\Varnet\\Shoplet";
  return item;
}

TEST(InstallQueue, AllSwitchesGiveTheProcessingOrder) {
  ComponentSwitches all{true, true, true, true, true, true};
  EXPECT_EQ(EnabledComponentIds(all), (std::vector<int32_t>{7, 1, 3, 8, 10, 2}));
  ComponentSwitches none{false, false, false, false, false, false};
  EXPECT_TRUE(EnabledComponentIds(none).empty());
  EXPECT_EQ(EnabledComponentIds(ComponentSwitches{}), std::vector<int32_t>{7});  // launcher only by default
}

TEST(InstallQueue, ChannelEntryOverDefaultAndBlankForAMissingId) {
  ComponentItemMap defaults = {{7, Named(7, L"default-7")}, {1, Named(1, L"default-1")}};
  ComponentItemMap channel = {{1, Named(1, L"channel-1")}, {3, Named(3, L"channel-only-not-enabled")}};
  auto queue = BuildInstallQueue({7, 1, 10}, channel, defaults);
  ASSERT_EQ(queue.size(), 3u);
  EXPECT_EQ(queue[0].name, L"default-7");
  EXPECT_EQ(queue[1].name, L"channel-1");
  EXPECT_EQ(queue[2].id, -1);  // blank record
  EXPECT_TRUE(queue[2].url.empty());
  EXPECT_EQ(defaults.count(10), 1u);
}

TEST(FindQueuedItemFault, RejectsBlankAndPathEscapingRecords) {
  struct Case {
    const char* what;
    void (*change)(ComponentItem&);
    bool fault;
  } cases[] = {
      {"valid", [](ComponentItem&) {}, false},
      {"empty localaddpath", [](ComponentItem& i) { i.localaddpath.clear(); }, false},
      {"nested localaddpath", [](ComponentItem& i) { i.localaddpath = L"a\\b.c\\d"; }, false},
      {"blank record", [](ComponentItem& i) { i = ComponentItem(); }, true},
      {"no url", [](ComponentItem& i) { i.url.clear(); }, true},
      {"no name", [](ComponentItem& i) { i.name.clear(); }, true},
      {"no hash", [](ComponentItem& i) { i.hash.clear(); }, true},
      {"short hash", [](ComponentItem& i) { i.hash.pop_back(); }, true},
      {"non-hex hash", [](ComponentItem& i) { i.hash[0] = L'g'; }, true},
      {"no registry key", [](ComponentItem& i) { i.writePathToRegKey.clear(); }, true},
      {"name with backslash", [](ComponentItem& i) { i.name = L"..\\evil.exe"; }, true},
      {"name with slash", [](ComponentItem& i) { i.name = L"a/evil.exe"; }, true},
      {"name with stream colon", [](ComponentItem& i) { i.name = L"a.exe:x"; }, true},
      {"name ..", [](ComponentItem& i) { i.name = L".."; }, true},
      {"absolute localaddpath", [](ComponentItem& i) { i.localaddpath = L"\\Windows"; }, true},
      {"UNC localaddpath", [](ComponentItem& i) { i.localaddpath = L"\\\\server\\share"; }, true},
      {"drive localaddpath", [](ComponentItem& i) { i.localaddpath = L"C:\\Windows"; }, true},
      {"drive-relative localaddpath", [](ComponentItem& i) { i.localaddpath = L"C:x"; }, true},
      {"dot-dot localaddpath", [](ComponentItem& i) { i.localaddpath = L"Shoplet\\..\\..\\x"; }, true},
      {"dot-dot at the end", [](ComponentItem& i) { i.localaddpath = L"Shoplet/.."; }, true},
  };
  for (const Case& c : cases) {
    ComponentItem item = Valid();
    c.change(item);
    EXPECT_EQ(!FindQueuedItemFault(item).empty(), c.fault) << c.what;
  }
}

TEST(InstallQueue, HashesCompareWithoutCase) {
  EXPECT_TRUE(HashesEqual(L"0123456789ABCDEF0123456789ABCDEF", L"0123456789abcdef0123456789abcdef"));
  EXPECT_FALSE(HashesEqual(L"0123456789abcdef0123456789abcdef", L"0123456789abcdef0123456789abcde0"));
  EXPECT_FALSE(HashesEqual(L"", L"d41d8cd98f00b204e9800998ecf8427e"));
}

TEST(InstallQueue, FoldersAndInstallerArguments) {
  ComponentItem item = Valid();
  EXPECT_EQ(DownloadFolderFor(L"C:\\Temp\\", item), L"C:\\Temp\\Shoplet\\");
  EXPECT_EQ(InstallFolderFor(L"C:\\Program Files\\FelwickAssistant\\", item),
            L"C:\\Program Files\\FelwickAssistant\\Shoplet");
  EXPECT_EQ(InstallerFor(L"C:\\Temp\\Shoplet\\"), L"C:\\Temp\\Shoplet\\Setup\\Zedud.exe");

  struct Case {
    int32_t id;
    bool pkgNameEmpty;
    bool createMarketIcon;
    const wchar_t* arguments;
  } cases[] = {
      {kComponentShoplet, true, false, L"-nodesktopIcon"},
      {kComponentShoplet, true, true, L""},
      {kComponentShoplet, false, false, L""},
      {kComponentUI, true, false, L""},
      {kComponentMarrow, true, false, L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InstallerArguments(c.id, c.pkgNameEmpty, c.createMarketIcon), c.arguments) << c.id;
  }
  EXPECT_EQ(NormalizePackageExitCode(1000), 0u);
  EXPECT_EQ(NormalizePackageExitCode(1), 1u);
}

}  // namespace
