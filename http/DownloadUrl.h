// Splitting of a package URL into what one connection needs: scheme, host, port, object path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct DownloadUrlParts {
  std::wstring scheme;  // as written: "http", "https" or "ftp"
  std::wstring host;    // without the port and without IPv6 brackets
  uint16_t port = 0;    // from the URL, else 443 for https and 80 otherwise
  std::wstring path;    // from the first "/" after the host, query included
  bool secure = false;  // scheme is https
};

// Matches "^((http|https|ftp)://)(.+?)(/.*)" (lower-case schemes only, a "/" after the
// host required). An explicit ":port" is split off; a port that is not a number in
// 1..65535 makes the URL unusable. ftp URLs are fetched by plain HTTP.
std::optional<DownloadUrlParts> SplitDownloadUrl(std::wstring_view url);

// "host", "host:port", "[v6]" or "[v6]:port" into host and port (defaultPort when none).
// Returns false for an unusable port.
bool SplitHostPort(std::wstring_view hostPort, uint16_t defaultPort, std::wstring& host, uint16_t& port);
