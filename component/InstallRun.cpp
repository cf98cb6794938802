// One install run: list, queue, downloads, installation, then the window's completion or
// error path. Runs on a worker-pool thread.
#include <stdexcept>

#include "component/InstallError.h"
#include "minilib/Log.h"
#include "ui/MainWnd.h"

const char* CMainWnd::RunInstallSteps() {
  SetStage(StageDownloading);
  // Usage report 100 (run start) goes here.
  const std::wstring path = DownloadComponentXml();
  if (path.empty()) {
    // Usage report 101 (error code) goes here.
    return "stop install by download component xml error.";
  }
  // Usage report 102 (list fetched) goes here.
  if (!ParseComponentXml(path)) {
    // Usage report 101 (error code) goes here.
    return "stop install by parse component xml error.";
  }
  GetNeedInstallComponentItems();
  if (!CheckNeedInstallComponentItems()) {
    // Usage report 101 (error code) goes here.
    return "stop install by parse component xml error.";
  }
  // Usage report 200 (queue built) goes here.
  if (!DownloadComponent()) return "stop install by download error.";

  // Usage reports 204 (downloads done) and 300 (installation start) go here.
  PostToUi([this] { OnInstallPhaseStarted(); });
  SetStage(StageInstalling);
  bool installed = false;
  try {
    installed = InstallComponent();
  } catch (...) {
    PostToUi([this] { OnInstallPhaseEnded(); });  // the status animation stops in every case
    throw;
  }
  PostToUi([this] { OnInstallPhaseEnded(); });
  if (!installed) return "stop install by install error.";
  // Usage report 304 (installation done) goes here.
  return nullptr;
}

void CMainWnd::DoInstallComponent() {
  try {
    const char* stop = RunInstallSteps();
    if (stop == nullptr) {
      SetStage(StageDone);
      OnInstallComplete();
      return;
    }
    MLOG_ERROR("Component") << stop;
  } catch (const std::invalid_argument& e) {
    // A number of the component list did not convert: the list is at fault.
    MLOG_ERROR("Component") << e.what();
    SetErrorCode(kInstallErrorListParse);
  } catch (const std::out_of_range& e) {
    MLOG_ERROR("Component") << e.what();
    SetErrorCode(kInstallErrorListParse);
  } catch (...) {
    SetErrorCode(kInstallErrorCommon);
    MLOG_ERROR("component") << "unknown exception occurred at installing progress.";
  }
  SetStage(StageFailed);
  OnInstallFailed();
}
