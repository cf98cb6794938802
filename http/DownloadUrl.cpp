#include "http/DownloadUrl.h"

#include <regex>

bool SplitHostPort(std::wstring_view hostPort, uint16_t defaultPort, std::wstring& host, uint16_t& port) {
  std::wstring_view name = hostPort;
  std::wstring_view portText;
  if (!name.empty() && name.front() == L'[') {
    size_t close = name.find(L']');
    if (close == std::wstring_view::npos) return false;
    std::wstring_view rest = name.substr(close + 1);
    name = name.substr(1, close - 1);
    if (!rest.empty()) {
      if (rest.front() != L':') return false;
      portText = rest.substr(1);
    }
  } else {
    size_t colon = name.rfind(L':');
    if (colon != std::wstring_view::npos) {
      portText = name.substr(colon + 1);
      name = name.substr(0, colon);
    }
  }
  if (name.empty()) return false;
  port = defaultPort;
  if (!portText.empty()) {
    if (portText.size() > 5) return false;
    uint32_t value = 0;
    for (wchar_t c : portText) {
      if (c < L'0' || c > L'9') return false;
      value = value * 10 + static_cast<uint32_t>(c - L'0');
    }
    if (value == 0 || value > 65535) return false;
    port = static_cast<uint16_t>(value);
  }
  host.assign(name);
  return true;
}

std::optional<DownloadUrlParts> SplitDownloadUrl(std::wstring_view url) {
  static const std::wregex pattern(L"^((http|https|ftp)://)(.+?)(/.*)", std::regex::ECMAScript);
  std::wstring text(url);
  std::wsmatch match;
  if (!std::regex_match(text, match, pattern)) return std::nullopt;
  DownloadUrlParts parts;
  parts.scheme = match[2].str();
  parts.secure = parts.scheme == L"https";
  parts.path = match[4].str();
  if (!SplitHostPort(match[3].str(), parts.secure ? 443 : 80, parts.host, parts.port)) return std::nullopt;
  return parts;
}
