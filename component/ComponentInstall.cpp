// Install phase: for each verified package record the install folder, run the package
// (it unpacks Setup\Zedud.exe), then run the installer; both hidden, both waited for.
#include <windows.h>
#include <shlwapi.h>

#include "component/InstallError.h"
#include "component/InstallQueue.h"
#include "config/GlobalConfig.h"
#include "minilib/Log.h"
#include "ui/MainWnd.h"
#include "utils/DirectoryTree.h"
#include "utils/LaunchProgram.h"
#include "winreg/RegKeyHandle.h"

namespace {

const wchar_t kProductKey[] = L"Software\\Corvane\\Varnet";

// Makes a folder the current directory for one component and puts the old one back.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::wstring& folder) {
    GetCurrentDirectoryW(MAX_PATH, saved_);
    SetCurrentDirectoryW(folder.c_str());
  }
  ~CurrentDirectoryScope() { SetCurrentDirectoryW(saved_); }
  CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
  CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

 private:
  wchar_t saved_[MAX_PATH] = {};
};

void LogCreateFailed(const std::wstring& keyPath, LONG error) {
  MLOG_ERROR("Component") << "create " << keyPath << " reg path failed. error code: " << static_cast<unsigned>(error);
}

}  // namespace

bool CMainWnd::InstallComponent() {
  const GlobalConfig& config = GlobalConfig::Instance();
  const std::wstring installPath = config.installPath();
  const bool pkgNameEmpty = config.pkgName().empty();

  {
    RegKeyHandle product;
    if (const LONG error = product.Create(HKEY_LOCAL_MACHINE, kProductKey); error != ERROR_SUCCESS) {
      LogCreateFailed(kProductKey, error);
      SetErrorCode(kInstallErrorRegistry);  // the components are still installed
    }
  }

  int32_t lastComponentId = -1;
  for (const ComponentItem& item : needInstall_) {
    // Usage report 301 (install start, component) goes here.
    lastComponentId = item.id;
    const std::wstring arguments = InstallerArguments(item.id, pkgNameEmpty, config.createMarketIcon);
    const std::wstring installFolder = InstallFolderFor(installPath, item);

    RegKeyHandle componentKey;
    LONG error = componentKey.Create(HKEY_LOCAL_MACHINE, item.writePathToRegKey.c_str());
    if (error == ERROR_CHILD_MUST_BE_VOLATILE) {
      RepairVolatileProductKey();
      // The repair removed the volatile level; the component key can be made now.
      error = componentKey.Create(HKEY_LOCAL_MACHINE, item.writePathToRegKey.c_str());
    }
    if (error != ERROR_SUCCESS) {
      LogCreateFailed(item.writePathToRegKey, error);
      SetErrorCode(kInstallErrorRegistry);
      break;
    }
    componentKey.SetString(L"InstallPath", installFolder.c_str());
    components_[item.id].path = installFolder;

    utils::CreateDirectoryTree(installFolder);  // throws: an unexpected failure of the run
    CurrentDirectoryScope currentDirectory(item.localDir);

    const std::wstring setupFolder = SetupFolderFor(item.localDir);
    if (PathFileExistsW(setupFolder.c_str())) {
      std::vector<std::wstring> failedFiles;
      if (!utils::RemoveDirectoryTree(setupFolder, failedFiles, false)) {
        MLOG_WARN("Component") << "delete " << setupFolder << " failed. error code: "
                               << static_cast<unsigned>(GetLastError());
        SetErrorCode(kInstallErrorSetupRemove);
        break;
      }
    }

    uint32_t exitCode = 0;
    const bool packageStarted = utils::LaunchProgram(item.localFile, L"", true, &exitCode);
    exitCode = NormalizePackageExitCode(exitCode);
    MLOG_INFO("Component") << "install component " << item.name << " Result[" << exitCode << "]";
    if (!packageStarted || exitCode != 0) {
      SetErrorCode(kInstallErrorPackageExit);
      break;
    }

    const std::wstring installer = InstallerFor(item.localDir);
    if (!PathFileExistsW(installer.c_str())) {
      MLOG_ERROR("component") << installer << " don't exist!";
      SetErrorCode(kInstallErrorNoInstaller);
      break;
    }

    exitCode = 0;
    const bool installerStarted = utils::LaunchProgram(installer, arguments, true, &exitCode);
    MLOG_INFO("Component") << "install component " << item.name << " installer [Zedud] Result[" << exitCode << "]";
    if (!installerStarted || exitCode != 0) {
      SetErrorCode(kInstallErrorInstallerExit);
      break;
    }
    // Usage report 303 (install done, component) goes here.
  }

  if (ErrorCode() != kInstallOk) {
    // Usage report 302 (error code, last component) goes here.
    (void)lastComponentId;
    MLOG_ERROR("Component") << "component install failed.";
    return false;
  }
  MLOG_INFO("Component") << "component install success";
  return true;
}
