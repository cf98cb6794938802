// The registry and locale side of the language choice.
#pragma once

#include <windows.h>

#include <string>

namespace config {

// The stored "UserLanguage", or empty when the key does not open, the value is missing,
// is not a string or is longer than 259 characters.
std::wstring ReadUserLanguage(REGSAM access);

// The user locale's ISO 639 name and, when the country is known too, "<language>_<COUNTRY>".
// Returns whether the language name is non-empty.
bool GetLocaleNames(std::wstring* language, std::wstring* combined);

// Always one of the supported languages.
std::wstring GetSystemLanguage();

}  // namespace config
