// Folder checks and creation for the configuration's download folder.
#pragma once

#include <windows.h>

#include <string>

namespace config {

bool IsExistingFolder(const std::wstring& path);

// Creates `path` with every missing parent; 0 when the folder exists afterwards,
// otherwise the Win32 error of the last failed creation.
DWORD CreateFolderTree(const std::wstring& path);

}  // namespace config
