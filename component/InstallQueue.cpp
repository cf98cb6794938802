#include "component/InstallQueue.h"

#include "component/ComponentTypes.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool OnlyDots(const std::wstring& segment) {
  return !segment.empty() && segment.find_first_not_of(L'.') == std::wstring::npos;
}

wchar_t Lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::string LocalAddPathFault(const std::wstring& path) {
  if (!path.empty() && IsSeparator(path.front())) return "localaddpath is absolute";
  if (path.find(L':') != std::wstring::npos) return "localaddpath names a drive";
  std::wstring segment;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || IsSeparator(path[i])) {
      if (segment.size() >= 2 && OnlyDots(segment)) return "localaddpath leaves its folder";
      segment.clear();
    } else {
      segment += path[i];
    }
  }
  return {};
}

}  // namespace

std::vector<ComponentItem> BuildInstallQueue(const std::vector<int32_t>& enabledIds,
                                             const ComponentItemMap& channel, ComponentItemMap& defaults) {
  std::vector<ComponentItem> queue;
  for (int32_t id : enabledIds) {
    auto it = channel.find(id);
    queue.push_back(it != channel.end() ? it->second : defaults[id]);
  }
  return queue;
}

bool IsHexMd5(const std::wstring& text) {
  if (text.size() != 32) return false;
  for (wchar_t c : text) {
    const wchar_t l = Lower(c);
    if (!((l >= L'0' && l <= L'9') || (l >= L'a' && l <= L'f'))) return false;
  }
  return true;
}

bool HashesEqual(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

std::string FindQueuedItemFault(const ComponentItem& item) {
  if (item.url.empty()) return "no url";
  if (item.name.empty()) return "no name";
  if (!IsHexMd5(item.hash)) return "no 32-digit hexadecimal hash";
  if (item.writePathToRegKey.empty()) return "no writePathToRegKey";
  if (item.name.find_first_of(L"\\/:") != std::wstring::npos || OnlyDots(item.name)) {
    return "name is not a plain file name";
  }
  return LocalAddPathFault(item.localaddpath);
}

std::wstring DownloadFolderFor(const std::wstring& tempPath, const ComponentItem& item) {
  return tempPath + item.localaddpath + L"\\";
}

std::wstring InstallFolderFor(const std::wstring& installPath, const ComponentItem& item) {
  return installPath + item.localaddpath;
}

std::wstring InstallerArguments(int32_t componentId, bool pkgNameEmpty, bool createMarketIcon) {
  if (componentId == kComponentShoplet && pkgNameEmpty && !createMarketIcon) return L"-nodesktopIcon";
  return {};
}
