// The language decisions of the configuration, free of the registry and the locale
// queries that feed them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace config {

// The ten languages the skin has locale files for, in table order.
inline constexpr const wchar_t* kSupportedLanguages[] = {
    L"en", L"zh_CN", L"pt", L"ru", L"tr", L"vi", L"id", L"ko", L"th", L"zh_TW"};

inline constexpr uint16_t kLangIdChinesePrc = 0x0804;
inline constexpr const char* kPartnerPackage = "com.dalvo.arenafield";

bool EqualsIgnoreAsciiCase(std::wstring_view a, std::wstring_view b);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Case-insensitive membership in kSupportedLanguages.
bool IsSupportedLanguage(std::wstring_view name);

// What the system tells about the user, gathered by the caller.
struct SystemLanguageInputs {
  std::wstring storedReadOnly;  // "UserLanguage" read with read-only access, or empty
  uint16_t uiLanguage = 0;      // the user's default UI language id
  std::wstring languageName;    // ISO 639 name of the user locale, e.g. "pt"
  std::wstring combinedName;    // language + "_" + ISO 3166 name, e.g. "pt_BR", or empty
};

// Always one of the supported names (first match wins).
std::wstring ChooseSystemLanguage(const SystemLanguageInputs& in);

// The edition rules applied to a language resolved from the system: the partner package
// gets "vi" (and `*partner` is set), the non-international edition always "zh_CN", the
// international edition "en" in place of "zh_CN".
std::wstring ApplyEditionRules(std::wstring language, std::string_view pkgName, int32_t international,
                               bool* partner);

}  // namespace config
