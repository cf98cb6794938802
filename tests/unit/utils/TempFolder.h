// A fresh folder under the temp folder for one test, removed with its content afterwards.
#pragma once

#include <windows.h>

#include "minilib/UniqueHandle.h"

#include <string>

#include "utils/DirectoryTree.h"

class TempFolder {
 public:
  explicit TempFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp) + L"mirel-test-" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    Clean();
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempFolder() { Clean(); }

  const std::wstring& Path() const { return path_; }

  std::wstring Write(const std::wstring& name, const std::string& content) const {
    const std::wstring full = path_ + name;
    minilib::UniqueHandle file(
        CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    return full;
  }

 private:
  void Clean() {
    std::vector<std::wstring> failed;
    utils::RemoveDirectoryTree(path_, failed, false);
  }
  std::wstring path_;
};
