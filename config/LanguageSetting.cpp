#include "config/LanguageSetting.h"

#include "config/LanguageChoice.h"
#include "winreg/RegKeyHandle.h"

namespace config {

std::wstring ReadUserLanguage(REGSAM access) {
  RegKeyHandle key;
  if (key.Open(HKEY_CURRENT_USER, kProductKeyPath, access) != ERROR_SUCCESS) return {};
  wchar_t buffer[260] = {};
  ULONG chars = 260;
  if (key.QueryString(L"UserLanguage", buffer, &chars) != ERROR_SUCCESS) return {};
  return std::wstring(buffer);
}

bool GetLocaleNames(std::wstring* language, std::wstring* combined) {
  wchar_t name[260] = {};
  wchar_t country[260] = {};
  bool haveName = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, name, 260) > 0;
  bool haveCountry = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SISO3166CTRYNAME, country, 260) > 0;
  *language = haveName ? name : L"";
  *combined = haveName && haveCountry ? *language + L"_" + country : L"";
  return !language->empty();
}

std::wstring GetSystemLanguage() {
  SystemLanguageInputs in;
  in.storedReadOnly = ReadUserLanguage(KEY_READ);
  in.uiLanguage = ::GetUserDefaultUILanguage();
  GetLocaleNames(&in.languageName, &in.combinedName);
  return ChooseSystemLanguage(in);
}

}  // namespace config
