#include <gtest/gtest.h>

#include <system_error>

#include "TempFolder.h"
#include "utils/DirectoryTree.h"

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(RemoveDirectoryTree, RemovesNestedFoldersWithOrWithoutTrailingBackslash) {
  for (bool trailing : {true, false}) {
    TempFolder folder(L"rmtree");
    const std::wstring root = folder.Path() + L"Setup\\";
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root + L"a").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((root + L"a\\b").c_str(), nullptr));
    folder.Write(L"Setup\\Zedud.exe", "x");
    folder.Write(L"Setup\\a\\one.txt", "1");
    folder.Write(L"Setup\\a\\b\\two.txt", "2");
    std::vector<std::wstring> failed;
    const std::wstring arg = trailing ? root : root.substr(0, root.size() - 1);
    EXPECT_TRUE(utils::RemoveDirectoryTree(arg, failed, false)) << trailing;
    EXPECT_TRUE(failed.empty());
    EXPECT_FALSE(Exists(root)) << trailing;
  }
}

TEST(RemoveDirectoryTree, ReadOnlyFileStaysListedAndKeepsItsFolder) {
  TempFolder folder(L"rmtree-ro");
  const std::wstring root = folder.Path() + L"Setup\\";
  ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
  const std::wstring locked = folder.Write(L"Setup\\locked.dat", "ro");
  const std::wstring plain = folder.Write(L"Setup\\plain.dat", "rw");
  ASSERT_TRUE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));

  std::vector<std::wstring> failed;
  EXPECT_FALSE(utils::RemoveDirectoryTree(root, failed, false));
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0], locked);
  EXPECT_TRUE(Exists(locked));
  EXPECT_FALSE(Exists(plain));
  SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(RemoveDirectoryTree, MissingFolderIsFalse) {
  TempFolder folder(L"rmtree-missing");
  std::vector<std::wstring> failed;
  EXPECT_FALSE(utils::RemoveDirectoryTree(folder.Path() + L"nothing", failed, false));
  EXPECT_TRUE(failed.empty());
}

TEST(CreateDirectoryTree, CreatesMissingParentsAndAcceptsExistingFolder) {
  TempFolder folder(L"mkdirs");
  const std::wstring deep = folder.Path() + L"a\\b\\c\\";
  utils::CreateDirectoryTree(deep);
  EXPECT_TRUE(utils::IsExistingDirectory(deep));
  EXPECT_NO_THROW(utils::CreateDirectoryTree(deep));
}

TEST(CreateDirectoryTree, ThrowsWhenAFileBlocksTheWay) {
  TempFolder folder(L"mkdirs-blocked");
  folder.Write(L"blocker", "file, not a folder");
  EXPECT_THROW(utils::CreateDirectoryTree(folder.Path() + L"blocker\\child\\"), std::system_error);
}

}  // namespace
