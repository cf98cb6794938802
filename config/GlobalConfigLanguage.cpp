// The user-interface language: stored per user, otherwise resolved from the system and
// the edition, then stored.
#include <windows.h>

#include "config/GlobalConfig.h"
#include "config/LanguageChoice.h"
#include "config/LanguageSetting.h"
#include "minilib/Log.h"
#include "winreg/RegKeyHandle.h"

void GlobalConfig::InitLanguageSetting() {
  std::wstring stored = config::ReadUserLanguage(kRegReadWrite);
  if (!stored.empty()) {
    language_ = stored;  // used as stored: the user keeps the language of the first run
  } else {
    bool partner = false;
    language_ = config::ApplyEditionRules(config::GetSystemLanguage(), pkgName_, international, &partner);
    if (partner) {
      RegKeyHandle machine;  // opened, never created
      if (machine.Open(HKEY_LOCAL_MACHINE, kProductKeyPath, kRegReadWrite) == ERROR_SUCCESS) {
        DWORD one = 1;
        ::RegSetValueExW(machine.Get(), L"DalvoVersion", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                         sizeof(one));
      }
    }
    RegKeyHandle user;
    if (user.Open(HKEY_CURRENT_USER, kProductKeyPath, kRegReadWrite) == ERROR_SUCCESS ||
        user.Create(HKEY_CURRENT_USER, kProductKeyPath) == ERROR_SUCCESS) {
      user.SetString(L"UserLanguage", language_.c_str());
    }
  }
  MLOG_INFO("GConfig") << "current language: " << language_;
}
