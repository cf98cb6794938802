#include "config/LanguageChoice.h"

namespace config {
namespace {

template <typename Char>
bool EqualsIgnoreCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    Char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<Char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<Char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

bool EqualsIgnoreAsciiCase(std::wstring_view a, std::wstring_view b) { return EqualsIgnoreCase(a, b); }
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) { return EqualsIgnoreCase(a, b); }

bool IsSupportedLanguage(std::wstring_view name) {
  for (const wchar_t* supported : kSupportedLanguages) {
    if (EqualsIgnoreAsciiCase(name, supported)) return true;
  }
  return false;
}

std::wstring ChooseSystemLanguage(const SystemLanguageInputs& in) {
  if (!in.storedReadOnly.empty() && IsSupportedLanguage(in.storedReadOnly)) return in.storedReadOnly;
  if (in.uiLanguage == kLangIdChinesePrc) return L"zh_CN";
  if (!in.combinedName.empty() && IsSupportedLanguage(in.combinedName)) return in.combinedName;
  if (in.languageName.empty()) return L"zh_CN";
  if (IsSupportedLanguage(in.languageName)) return in.languageName;
  return L"zh_CN";
}

std::wstring ApplyEditionRules(std::wstring language, std::string_view pkgName, int32_t international,
                               bool* partner) {
  bool isPartner = EqualsIgnoreAsciiCase(pkgName, kPartnerPackage);
  if (partner) *partner = isPartner;
  if (isPartner) language = L"vi";
  if (international == 0) return L"zh_CN";
  if (EqualsIgnoreAsciiCase(language, L"zh_CN")) return L"en";
  return language;
}

}  // namespace config
