#include "config/Folders.h"

#include "config/ConfigPaths.h"

namespace config {

bool IsExistingFolder(const std::wstring& path) {
  if (path.empty()) return false;
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

DWORD CreateFolderTree(const std::wstring& path) {
  DWORD lastError = ERROR_PATH_NOT_FOUND;
  for (const std::wstring& folder : FolderChain(path)) {
    if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
      DWORD error = ::GetLastError();
      // An existing level may also answer "access denied": only the end result counts.
      if (error != ERROR_ALREADY_EXISTS) lastError = error;
    }
  }
  return IsExistingFolder(path) ? ERROR_SUCCESS : lastError;
}

}  // namespace config
