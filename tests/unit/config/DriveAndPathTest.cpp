#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "config/ConfigPaths.h"
#include "config/DriveChoice.h"

namespace {

uint32_t Mask(const std::wstring& letters) {
  uint32_t mask = 0;
  for (wchar_t c : letters) mask |= 1u << (c - L'A');
  return mask;
}

TEST(DriveChoice, LastQualifyingLetterFromCToZWins) {
  struct Case {
    const wchar_t* present;
    const wchar_t* qualifying;
    wchar_t expected;
  };
  const Case cases[] = {
      {L"CD", L"CD", L'D'},
      {L"CDE", L"CD", L'D'},   // E (USB, read-only, ...) fails its probe
      {L"CDZ", L"CDZ", L'Z'},
      {L"C", L"", L'A'},       // none qualifies: A, not C
      {L"", L"", L'A'},
      {L"ABC", L"ABC", L'C'},  // A and B are never candidates
      {L"AB", L"AB", L'A'},
  };
  for (const Case& c : cases) {
    std::set<wchar_t> probed;
    std::wstring qualifying = c.qualifying;
    wchar_t letter = config::ChooseDefaultDriveLetter(Mask(c.present), [&](wchar_t l) {
      probed.insert(l);
      return qualifying.find(l) != std::wstring::npos;
    });
    EXPECT_EQ(letter, c.expected) << c.present;
    EXPECT_EQ(probed.count(L'A') + probed.count(L'B'), 0u);
    for (wchar_t l : probed) EXPECT_NE(std::wstring(c.present).find(l), std::wstring::npos);  // only present letters
  }
  EXPECT_EQ(config::DriveRoot(L'D'), L"D:\\");
}

TEST(ConfigPaths, DefaultsArePlainConcatenationOnTheDrive) {
  EXPECT_EQ(config::DefaultTempPath(L"D:\\"), L"D:\\Temp\\FelwickDownload\\Component\\");
  EXPECT_EQ(config::DefaultInstallPath(L"A:\\"), L"A:\\Program Files\\FelwickAssistant\\");
}

TEST(ConfigPaths, FolderChainListsEveryLevelOutermostFirst) {
  using Chain = std::vector<std::wstring>;
  EXPECT_EQ(config::FolderChain(L"D:\\a\\b\\"), (Chain{L"D:\\a", L"D:\\a\\b"}));
  EXPECT_EQ(config::FolderChain(L"D:\\a\\b"), (Chain{L"D:\\a", L"D:\\a\\b"}));
  EXPECT_EQ(config::FolderChain(L"D:\\"), Chain{});
  EXPECT_EQ(config::FolderChain(L"D:\\a\\\\b\\"), (Chain{L"D:\\a", L"D:\\a\\\\b"}));
  EXPECT_EQ(config::FolderChain(L"\\\\?\\D:\\a\\"), (Chain{L"\\\\?\\D:\\a"}));
  EXPECT_EQ(config::FolderChain(L"\\\\srv\\share\\x\\"), (Chain{L"\\\\srv\\share\\x"}));
  EXPECT_EQ(config::FolderChain(L"\\\\srv"), Chain{});
}

}  // namespace
