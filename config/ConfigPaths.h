// The folders the configuration builds on the default drive. Folder paths end with a
// backslash and are joined by plain concatenation.
#pragma once

#include <string>
#include <vector>

namespace config {

inline constexpr const wchar_t* kTempFolder = L"Temp\\FelwickDownload\\Component\\";
inline constexpr const wchar_t* kInstallFolder = L"Program Files\\FelwickAssistant\\";

inline std::wstring DefaultTempPath(const std::wstring& drive) { return drive + kTempFolder; }
inline std::wstring DefaultInstallPath(const std::wstring& drive) { return drive + kInstallFolder; }

// The folders to create, outermost first, so that `path` exists afterwards: for
// "D:\a\b\" that is "D:\a", "D:\a\b". Drive roots and "\\?\" or UNC server parts are
// not included.
std::vector<std::wstring> FolderChain(const std::wstring& path);

}  // namespace config
