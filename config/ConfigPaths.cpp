#include "config/ConfigPaths.h"

namespace config {

std::vector<std::wstring> FolderChain(const std::wstring& path) {
  std::vector<std::wstring> chain;
  size_t pos = 0;
  if (path.rfind(L"\\\\?\\", 0) == 0) pos = 4;  // long-path prefix
  if (path.size() >= pos + 2 && path[pos + 1] == L':') {
    pos += 2;  // drive letter
  } else if (pos == 0 && path.rfind(L"\\\\", 0) == 0) {
    // \\server\share: the first two parts cannot be created.
    pos = path.find(L'\\', 2);
    if (pos != std::wstring::npos) pos = path.find(L'\\', pos + 1);
    if (pos == std::wstring::npos) return chain;
  }
  while (pos < path.size()) {
    size_t next = path.find(L'\\', pos + 1);
    if (next == std::wstring::npos) next = path.size();
    std::wstring prefix = path.substr(0, next);
    if (next > pos + 1 && prefix.back() != L'\\') chain.push_back(prefix);
    pos = next;
  }
  return chain;
}

}  // namespace config
