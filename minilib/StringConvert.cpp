#include "minilib/StringConvert.h"

#include <windows.h>

#include <cwchar>
#include <cstring>

namespace minilib {
namespace {

std::wstring ToWide(UINT codePage, const char* text, int length) {
  if (text == nullptr) return {};
  if (length < 0) length = static_cast<int>(std::strlen(text));
  if (length == 0) return {};
  int needed = ::MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring out(static_cast<size_t>(needed), L'\0');
  ::MultiByteToWideChar(codePage, 0, text, length, out.data(), needed);
  return out;
}

std::string FromWide(UINT codePage, const wchar_t* text, int length) {
  if (text == nullptr) return {};
  if (length < 0) length = static_cast<int>(std::wcslen(text));
  if (length == 0) return {};
  int needed = ::WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string out(static_cast<size_t>(needed), '\0');
  ::WideCharToMultiByte(codePage, 0, text, length, out.data(), needed, nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring Utf8ToWide(const char* text, int length) { return ToWide(CP_UTF8, text, length); }
std::string WideToUtf8(const wchar_t* text, int length) { return FromWide(CP_UTF8, text, length); }
std::wstring AnsiToWide(const char* text, int length) { return ToWide(CP_ACP, text, length); }
std::string WideToAnsi(const wchar_t* text, int length) { return FromWide(CP_ACP, text, length); }

}  // namespace minilib
