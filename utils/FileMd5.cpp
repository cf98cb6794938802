#include "utils/FileMd5.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "minilib/Log.h"
#include "minilib/UniqueHandle.h"
#include "utils/Md5.h"

namespace utils {
namespace {
constexpr DWORD kBlockSize = 65536;
}

std::wstring GetFileHexMd5(const std::wstring& path) {
  minilib::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    MLOG_ERROR("utils") << "open " << path << " failed. error code: " << static_cast<unsigned>(GetLastError());
    return {};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) {
    MLOG_ERROR("utils") << "get " << path << " file size failed. error code: "
                        << static_cast<unsigned>(GetLastError());
    return {};
  }
  auto buffer = std::make_unique<uint8_t[]>(kBlockSize);
  Md5 md5;
  const uint64_t total = static_cast<uint64_t>(size.QuadPart);
  uint64_t done = 0;
  while (done < total) {
    const DWORD want = static_cast<DWORD>(std::min<uint64_t>(kBlockSize, total - done));
    DWORD got = 0;
    if (!ReadFile(file.Get(), buffer.get(), want, &got, nullptr)) {
      MLOG_ERROR("utils") << "read file buffer failed. error code: " << static_cast<unsigned>(GetLastError());
      return {};
    }
    if (got == 0) {
      // The file shrank while being read: its digest would describe no stable content.
      MLOG_ERROR("utils") << "read file buffer failed. error code: " << static_cast<unsigned>(ERROR_HANDLE_EOF);
      return {};
    }
    md5.Update(buffer.get(), got);
    std::memset(buffer.get(), 0, got);
    done += got;
  }
  const std::string hex = Md5Hex(md5.Final());
  return std::wstring(hex.begin(), hex.end());
}

}  // namespace utils
