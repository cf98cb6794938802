// Conversions between UTF-16 and UTF-8 or the system ANSI code page.
// A length of -1 means zero-terminated input; each call returns a new string.
#pragma once

#include <string>
#include <string_view>

namespace minilib {

std::wstring Utf8ToWide(const char* text, int length = -1);
std::string WideToUtf8(const wchar_t* text, int length = -1);
std::wstring AnsiToWide(const char* text, int length = -1);
std::string WideToAnsi(const wchar_t* text, int length = -1);

inline std::wstring Utf8ToWide(std::string_view text) {
  return Utf8ToWide(text.data(), static_cast<int>(text.size()));
}
inline std::string WideToUtf8(std::wstring_view text) {
  return WideToUtf8(text.data(), static_cast<int>(text.size()));
}
inline std::wstring AnsiToWide(std::string_view text) {
  return AnsiToWide(text.data(), static_cast<int>(text.size()));
}
inline std::string WideToAnsi(std::wstring_view text) {
  return WideToAnsi(text.data(), static_cast<int>(text.size()));
}

}  // namespace minilib
