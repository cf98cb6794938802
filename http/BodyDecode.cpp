#include "http/BodyDecode.h"

#include <windows.h>

#include "http/ResponseFields.h"

namespace {

std::wstring Convert(UINT codePage, DWORD flags, const char* text, int length) {
  int needed = MultiByteToWideChar(codePage, flags, text, length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring out(static_cast<size_t>(needed), L'\0');
  MultiByteToWideChar(codePage, flags, text, length, out.data(), needed);
  return out;
}

}  // namespace

std::wstring DecodeBody(const std::string& raw, const std::wstring& charset) {
  size_t end = raw.find('\0');
  int length = static_cast<int>(end == std::string::npos ? raw.size() : end);
  if (length == 0) return {};
  std::wstring text;
  if (IsUtf8Charset(charset)) text = Convert(CP_UTF8, 0, raw.data(), length);
  if (text.empty()) text = Convert(CP_ACP, MB_PRECOMPOSED, raw.data(), length);
  return text;
}
