// Decoding of a response body to UTF-16 by its charset (UTF-8 or the ANSI code page).
#pragma once

#include <string>

// Decodes up to the first zero byte. UTF-8 when the charset begins with "utf-8", else the
// system ANSI code page; a UTF-8 decoding that yields nothing falls back to ANSI.
std::wstring DecodeBody(const std::string& raw, const std::wstring& charset);
