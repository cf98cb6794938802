#include "utils/DirectoryTree.h"

#include <windows.h>

#include <system_error>

#include "minilib/Log.h"
#include "minilib/UniqueResource.h"

namespace utils {
namespace {

struct FindHandleTraits {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static bool IsEmpty(Type h) { return h == INVALID_HANDLE_VALUE || h == nullptr; }
  static void Release(Type h) { FindClose(h); }
};
using UniqueFindHandle = minilib::UniqueResource<FindHandleTraits>;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDotEntry(const wchar_t* name) {
  return lstrcmpiW(name, L".") == 0 || lstrcmpiW(name, L"..") == 0;
}

}  // namespace

bool IsExistingDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CreateDirectoryTree(const std::wstring& path) {
  std::wstring folder = path;
  while (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
  if (folder.empty() || IsExistingDirectory(folder)) return;
  // Create each level from the top; the first levels (drive, server, share) already exist.
  for (size_t i = 0; i <= folder.size(); ++i) {
    if (i != folder.size() && !IsSeparator(folder[i])) continue;
    const std::wstring level = folder.substr(0, i);
    if (level.empty() || level.back() == L':' || IsExistingDirectory(level)) continue;
    if (!CreateDirectoryW(level.c_str(), nullptr)) {
      const DWORD error = GetLastError();
      if (error == ERROR_ALREADY_EXISTS && IsExistingDirectory(level)) continue;
      MLOG_ERROR("utils") << "create directory " << level << " failed. error code: "
                          << static_cast<unsigned>(error);
      throw std::system_error(static_cast<int>(error), std::system_category(), "CreateDirectoryW");
    }
  }
}

bool RemoveDirectoryTree(const std::wstring& folderPath, std::vector<std::wstring>& failedFiles,
                         bool delayUntilReboot) {
  std::wstring folder = folderPath;
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';

  WIN32_FIND_DATAW entry{};
  UniqueFindHandle find(FindFirstFileW((folder + L"*").c_str(), &entry));
  if (!find) return false;

  bool allRemoved = true;
  do {
    const std::wstring full = folder + entry.cFileName;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (IsDotEntry(entry.cFileName)) continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A linked folder: removing the link must not reach what it points to.
        RemoveDirectoryW(full.c_str());
        continue;
      }
      if (!RemoveDirectoryTree(full, failedFiles, delayUntilReboot)) allRemoved = false;
      RemoveDirectoryW(full.c_str());
    } else {
      const BOOL removed = delayUntilReboot ? MoveFileExW(full.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)
                                            : DeleteFileW(full.c_str());
      if (!removed) {
        failedFiles.push_back(full);
        allRemoved = false;
      }
    }
  } while (FindNextFileW(find.Get(), &entry));
  find.Reset();
  RemoveDirectoryW(folder.c_str());
  return allRemoved;
}

}  // namespace utils
