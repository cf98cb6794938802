#include "utils/LaunchProgram.h"

#include <windows.h>
#include <shellapi.h>

#include "minilib/Log.h"
#include "minilib/UniqueHandle.h"

namespace utils {

bool LaunchProgram(const std::wstring& file, const std::wstring& parameters, bool hidden,
                   uint32_t* exitCode) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = nullptr;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.lpDirectory = nullptr;  // the caller's current directory applies
  info.nShow = hidden ? SW_HIDE : SW_SHOW;
  if (!ShellExecuteExW(&info)) {
    MLOG_ERROR("utils") << "start " << file << " failed. error code: "
                        << static_cast<unsigned>(GetLastError());
    return false;
  }
  minilib::UniqueHandle process(info.hProcess);
  if (process && exitCode != nullptr) {
    WaitForSingleObject(process.Get(), INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.Get(), &code)) *exitCode = code;
  }
  return true;
}

}  // namespace utils
