// What the request client reads from a response: header fields by pattern, the status,
// the body's code page and the check that an HTML page arrived whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ResponseHeaderFields {
  std::optional<std::wstring> charset;  // from "charset=" anywhere in the headers
  int32_t contentLength = 0;            // 0 when absent; clamped to INT32_MAX
  bool hasContentLength = false;
  std::wstring location;                // only a location made of digits is taken
  std::wstring cookies;                 // Set-Cookie values joined with "; ", ending in ";"
};

// Applies the header patterns to the raw CR LF headers of one response.
ResponseHeaderFields ReadResponseHeaderFields(std::wstring_view headers);

// Joins Set-Cookie values with "; ", trims spaces at both ends and ends the text with ";".
std::wstring JoinCookies(const std::vector<std::wstring>& values);

// Decimal digits (surrounding blanks allowed) as an unsigned 64-bit number; nothing for
// empty, non-numeric or overflowing text.
std::optional<uint64_t> ParseContentLengthText(std::wstring_view text);

// The status line's code as a number (0 when it is not a number).
int32_t ParseStatusCode(std::wstring_view statusText);

// A charset text beginning with "utf-8" (any case) selects UTF-8; anything else the
// system ANSI code page.
bool IsUtf8Charset(std::wstring_view charset);

// A page holding "<html>" but no "</html>" (any case) was cut off in transit.
bool IsTruncatedHtmlPage(std::wstring_view text);
