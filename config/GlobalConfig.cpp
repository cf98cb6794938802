#include "config/GlobalConfig.h"

#include <windows.h>

#include "config/ConfigPaths.h"
#include "config/DefaultDrive.h"
#include "config/Folders.h"
#include "minilib/Log.h"
#include "winreg/RegKey.h"
#include "winreg/RegKeyHandle.h"

namespace {

constexpr const wchar_t* kTempPathValue = L"TempPath";
constexpr const wchar_t* kSupplyIdValue = L"SupplyId";

}  // namespace

GlobalConfig& GlobalConfig::Instance() {
  // Built on first use and never destroyed: pool threads may read it during shutdown.
  static GlobalConfig* const instance = new GlobalConfig();
  return *instance;
}

GlobalConfig::GlobalConfig() {
  installDrive_ = config::PickDefaultDrive();
  InitParamsFromSelf();
  InitTempPath();
  InitInstallPath();
  InitSupplyid();
  InitLanguageSetting();

  reportSeed_.strcommon0 = sourceid_;
  reportSeed_.client_version = buildid;
  reportSeed_.supplyid = supplyid;
  reportSeed_.language = language_;
  MLOG_INFO("GConfig") << "client id: 190912";
}

void GlobalConfig::InitTempPath() {
  winreg::RegKey key;
  bool keyOpen = false;
  try {
    key.Create(HKEY_CURRENT_USER, kProductKeyPath);
    keyOpen = true;
  } catch (const winreg::RegException& e) {
    MLOG_ERROR("GConfig") << "open HKEY_CURRENT_USER\\" << kProductKeyPath << " failed. " << e.what()
                          << " error code: " << static_cast<unsigned>(e.ErrorCode());
  }

  bool readOk = false;
  if (keyOpen) {
    try {
      tempPath_ = key.GetStringValue(kTempPathValue);
      readOk = true;
    } catch (const winreg::RegException& e) {
      MLOG_WARN("GConfig") << kTempPathValue << " reg value read failed. " << e.what();
    }
  }

  // Missing, unreadable, or naming a folder that is gone: the default folder, written back.
  bool mustWrite = false;
  if (!readOk || !config::IsExistingFolder(tempPath_)) {
    tempPath_ = config::DefaultTempPath(installDrive_);
    if (DWORD error = config::CreateFolderTree(tempPath_)) {
      MLOG_ERROR("GConfig") << "create folder " << tempPath_ << " failed." << " error code: "
                            << static_cast<unsigned>(error);
    }
    mustWrite = true;
  }

  if (mustWrite && keyOpen) {
    try {
      key.SetStringValue(kTempPathValue, tempPath_);
    } catch (const winreg::RegException& e) {
      MLOG_ERROR("GConfig") << "write " << kTempPathValue << " reg value failed. " << e.what();
    }
  }
  MLOG_INFO("GConfig") << "current temp path: [" << tempPath_ << "]";
  key.Close();
}

void GlobalConfig::InitInstallPath() {
  installPath_ = config::DefaultInstallPath(installDrive_);
  MLOG_INFO("GConfig") << "current install path: " << installPath_;
}

void GlobalConfig::InitSupplyid() {
  RegKeyHandle key;
  DWORD stored = 0;
  DWORD type = 0;
  DWORD size = sizeof(stored);
  if (key.Open(HKEY_LOCAL_MACHINE, kProductKeyPath, kRegReadWrite) == ERROR_SUCCESS &&
      ::RegQueryValueExW(key.Get(), kSupplyIdValue, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size) ==
          ERROR_SUCCESS &&
      type == REG_DWORD) {
    // The machine keeps the channel of its first install; this run keeps its own.
    MLOG_INFO("GConfig") << "read supplyid [" << static_cast<unsigned>(stored) << "] from register";
  } else if (key.Create(HKEY_LOCAL_MACHINE, kProductKeyPath) == ERROR_SUCCESS) {
    DWORD value = supplyid;
    if (::RegSetValueExW(key.Get(), kSupplyIdValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                         sizeof(value)) == ERROR_SUCCESS) {
      MLOG_INFO("GConfig") << "write supplyid " << static_cast<unsigned>(supplyid) << " to register";
    }
  }
  MLOG_INFO("GConfig") << "runtime supplyid [" << static_cast<unsigned>(supplyid) << "]";
  key.Close();
}
