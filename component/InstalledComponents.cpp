// Installed state of the enabled components and the install queue.
#include <windows.h>

#include "component/ComponentTypes.h"
#include "component/InstallError.h"
#include "component/InstallQueue.h"
#include "component/InstalledState.h"
#include "config/GlobalConfig.h"
#include "minilib/Log.h"
#include "ui/MainWnd.h"
#include "winreg/RegKeyHandle.h"

namespace {

std::optional<std::wstring> ReadText(RegKeyHandle& key, const wchar_t* name) {
  wchar_t buffer[MAX_PATH] = {};
  ULONG count = MAX_PATH;
  if (key.QueryString(name, buffer, &count) != ERROR_SUCCESS) return std::nullopt;
  return std::wstring(buffer);
}

ComponentSwitches SwitchesOf(const GlobalConfig& config) {
  ComponentSwitches switches;
  switches.installMarket = config.installMarket;
  switches.installUI = config.installUI;
  switches.installVDI = config.installVDI;
  switches.installVDI71 = config.installVDI71;
  switches.installRootfs = config.installRootfs;
  switches.installMarrow = config.installMarrow;
  return switches;
}

}  // namespace

void QueryInstalledComponent(int32_t id, InstalledInfo& info) {
  const wchar_t* keyPath = ComponentRegistryKey(id);
  if (keyPath == nullptr) return;
  InstalledReadings readings;
  RegKeyHandle key;
  readings.keyOpened = key.Open(HKEY_LOCAL_MACHINE, keyPath, KEY_READ | KEY_WRITE) == ERROR_SUCCESS;
  if (readings.keyOpened) {
    readings.installPath = ReadText(key, L"InstallPath");
    readings.version = ReadText(key, L"Version");
  }
  DecideInstalled(id, readings,
                  [](const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; },
                  info);
}

void CMainWnd::GetNeedInstallComponentLocalInfo() {
  for (int32_t id : EnabledComponentIds(SwitchesOf(GlobalConfig::Instance()))) {
    InstalledInfo& info = components_[id];
    QueryInstalledComponent(id, info);
    MLOG_INFO("MainWnd") << "get component id: " << id << " installed: " << (info.installed ? "true" : "false");
    if (info.installed) MLOG_INFO("MainWnd") << "version :" << info.version << " path: " << info.path;
  }
}

void CMainWnd::GetNeedInstallComponentItems() {
  needInstallIds_ = EnabledComponentIds(SwitchesOf(GlobalConfig::Instance()));
  needInstall_ = BuildInstallQueue(needInstallIds_, channelItems_, defaultItems_);
  for (int32_t id : needInstallIds_) MLOG_INFO("Component") << "need install component: " << id;
}

bool CMainWnd::CheckNeedInstallComponentItems() {
  for (size_t i = 0; i < needInstall_.size(); ++i) {
    const std::string fault = FindQueuedItemFault(needInstall_[i]);
    if (fault.empty()) continue;
    // An enabled component the list lacks, or one whose name or folder would lead outside
    // the download and install folders: nothing may be fetched or written for it.
    MLOG_ERROR("Component") << "component " << needInstallIds_[i] << " of the component list is unusable: " << fault;
    SetErrorCode(kInstallErrorListParse);
    return false;
  }
  return true;
}
