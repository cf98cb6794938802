#include "http/ResponseFields.h"

#include <algorithm>
#include <cwctype>
#include <limits>

#include "http/MatchAll.h"

namespace {

std::wstring Lower(std::wstring_view text) {
  std::wstring out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); });
  return out;
}

std::optional<std::wstring> First(std::wstring_view pattern, std::wstring_view text) {
  std::vector<std::wstring> list;
  if (!MatchAll(pattern, text, list) || list.empty()) return std::nullopt;
  return list.front();
}

}  // namespace

std::wstring JoinCookies(const std::vector<std::wstring>& values) {
  std::wstring joined;
  for (const std::wstring& value : values) {
    if (!joined.empty()) joined += L"; ";
    joined += value;
  }
  size_t begin = joined.find_first_not_of(L' ');
  if (begin == std::wstring::npos) return {};
  size_t end = joined.find_last_not_of(L' ');
  joined = joined.substr(begin, end - begin + 1);
  if (joined.back() != L';') joined += L';';
  return joined;
}

ResponseHeaderFields ReadResponseHeaderFields(std::wstring_view headers) {
  ResponseHeaderFields fields;
  fields.charset = First(L"charset={[A-Za-z0-9\\-_]+}", headers);
  if (auto length = First(L"Content-Length: {[0-9]+}", headers)) {
    auto value = ParseContentLengthText(*length);
    constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
    fields.hasContentLength = true;
    fields.contentLength = static_cast<int32_t>(value ? std::min(*value, kMax) : kMax);
  }
  if (auto location = First(L"Location: {[0-9]+}", headers)) fields.location = *location;
  std::vector<std::wstring> cookies;
  MatchAll(L"Set-Cookie:\\b*{.+?}\\n", headers, cookies);
  fields.cookies = JoinCookies(cookies);
  return fields;
}

std::optional<uint64_t> ParseContentLengthText(std::wstring_view text) {
  size_t begin = text.find_first_not_of(L" \t");
  if (begin == std::wstring_view::npos) return std::nullopt;
  size_t end = text.find_last_not_of(L" \t\r\n");
  text = text.substr(begin, end - begin + 1);
  uint64_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    uint64_t digit = static_cast<uint64_t>(c - L'0');
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

int32_t ParseStatusCode(std::wstring_view statusText) {
  int32_t value = 0;
  size_t i = statusText.find_first_not_of(L" \t");
  if (i == std::wstring_view::npos) return 0;
  for (; i < statusText.size() && statusText[i] >= L'0' && statusText[i] <= L'9'; ++i) {
    if (value > 99999) return 0;  // no status code is this long
    value = value * 10 + (statusText[i] - L'0');
  }
  return value;
}

bool IsUtf8Charset(std::wstring_view charset) {
  return charset.size() >= 5 && Lower(charset.substr(0, 5)) == L"utf-8";
}

bool IsTruncatedHtmlPage(std::wstring_view text) {
  std::wstring lower = Lower(text);
  return lower.find(L"<html>") != std::wstring::npos && lower.find(L"</html>") == std::wstring::npos;
}
