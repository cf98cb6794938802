// Download phase: a verified package for every queued component, reused when one with the
// right MD5 is already in its download folder.
#include <windows.h>

#include "component/InstallError.h"
#include "component/InstallQueue.h"
#include "config/GlobalConfig.h"
#include "http/DownloadFile.h"
#include "minilib/Log.h"
#include "ui/MainWnd.h"
#include "utils/DirectoryTree.h"
#include "utils/FileMd5.h"

bool CMainWnd::DownloadComponent() {
  const std::wstring tempPath = GlobalConfig::Instance().tempPath();
  for (ComponentItem& item : needInstall_) {
    item.localDir = DownloadFolderFor(tempPath, item);
    utils::CreateDirectoryTree(item.localDir);  // throws: an unexpected failure of the run
    const std::wstring candidate = item.localDir + item.name;

    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (GetFileAttributesExW(candidate.c_str(), GetFileExInfoStandard, &attributes)) {
      if (HashesEqual(utils::GetFileHexMd5(candidate), item.hash)) {
        MLOG_INFO("Component") << item.name << " is existed. path: " << candidate;
        item.localFile = candidate;
        continue;
      }
      DeleteFileW(candidate.c_str());  // stale: fetched again below
    }

    PostToUi([this] { OnDownloadProgress(0, 0); });
    {
      std::lock_guard<std::mutex> lock(speedLock_);
      speedSamples_.clear();
    }
    // Usage report 201 (download start) goes here.
    MLOG_INFO("Component") << "start download component name: " << item.name << " url:[" << item.url
                           << "] localPath:[" << candidate << "]";
    const DownloadResult result = DownloadFile(
        item.url, candidate,
        [this](uint32_t percent, uint32_t speed) { PostToUi([this, percent, speed] { OnDownloadProgress(percent, speed); }); },
        L"MirelDownloader/1.0");
    if (!result.ok) {
      MLOG_ERROR("Component") << "download component: " << item.name << " failed. error type: " << result.errorType
                              << " error code: " << static_cast<unsigned>(result.systemError);
      SetErrorCode(result.errorType);
      // Usage report 202 (type, component, system error) goes here.
      return false;
    }
    // Usage report 203 (download done) goes here.
    MLOG_INFO("Component") << "download component name:" << item.name << " success localPath:[" << candidate << "]";
    RecordDownloadAverageSpeed();

    const std::wstring md5 = utils::GetFileHexMd5(candidate);
    MLOG_INFO("Component") << "local component file " << item.name << " md5: " << md5;
    if (!HashesEqual(md5, item.hash)) {
      MLOG_ERROR("Component") << "local component file md5 check failed. local md5: " << md5
                              << " server md5: " << item.hash;
      SetErrorCode(kInstallErrorMd5Mismatch);
      // Usage report 202 (20, component) goes here.
      return false;
    }
    item.localFile = candidate;
  }
  PostToUi([this] { OnDownloadPhaseDone(); });
  return true;
}
