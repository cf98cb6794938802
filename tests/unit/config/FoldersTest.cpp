#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "config/Folders.h"
#include "minilib/UniqueHandle.h"

namespace {

std::wstring TempRoot() {
  wchar_t buffer[MAX_PATH];
  ::GetTempPathW(MAX_PATH, buffer);
  return std::wstring(buffer) + L"mirel-folders-" + std::to_wstring(::GetCurrentProcessId()) + L"\\";
}

TEST(Folders, CreatesEveryMissingLevelAndAcceptsAnExistingOne) {
  std::wstring root = TempRoot();
  std::wstring deep = root + L"a\\b\\c\\";
  EXPECT_FALSE(config::IsExistingFolder(deep));
  EXPECT_EQ(config::CreateFolderTree(deep), 0u);
  EXPECT_TRUE(config::IsExistingFolder(deep));
  EXPECT_EQ(config::CreateFolderTree(deep), 0u);
  ::RemoveDirectoryW((root + L"a\\b\\c").c_str());
  ::RemoveDirectoryW((root + L"a\\b").c_str());
  ::RemoveDirectoryW((root + L"a").c_str());
  ::RemoveDirectoryW(root.c_str());
}

TEST(Folders, AFileInTheWayIsAnErrorAndNoFolder) {
  std::wstring root = TempRoot();
  ASSERT_EQ(config::CreateFolderTree(root), 0u);
  std::wstring file = root + L"f";
  {
    minilib::UniqueHandle h(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(h);
  }
  EXPECT_FALSE(config::IsExistingFolder(file));
  EXPECT_NE(config::CreateFolderTree(file + L"\\sub\\"), 0u);
  EXPECT_FALSE(config::IsExistingFolder(L""));
  ::DeleteFileW(file.c_str());
  ::RemoveDirectoryW(root.c_str());
}

}  // namespace
