// The main window's state outside the pipeline steps: construction, the UI task queue and
// the progress samples.
#include <numeric>

#include "component/InstalledState.h"
#include "minilib/Log.h"
#include "ui/MainWnd.h"

CMainWnd::CMainWnd() : uiTaskEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  GetNeedInstallComponentLocalInfo();
}

CMainWnd::~CMainWnd() = default;

void CMainWnd::OnInstallComplete() {
  PostToUi([] { MLOG_INFO("MainWnd") << "install complete."; });
}

void CMainWnd::OnInstallFailed() {
  const int32_t code = ErrorCode();
  PostToUi([code] { MLOG_ERROR("MainWnd") << "install failed. error code: " << code; });
}

void CMainWnd::PostToUi(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(taskLock_);
    uiTasks_.push_back(std::move(task));
  }
  SetEvent(uiTaskEvent_.Get());
}

void CMainWnd::RunUiTasks() {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard<std::mutex> lock(taskLock_);
      if (uiTasks_.empty()) return;
      task = std::move(uiTasks_.front());
      uiTasks_.pop_front();
    }
    task();
  }
}

void CMainWnd::OnDownloadProgress(uint32_t /*percent*/, uint32_t speedKBps) {
  std::lock_guard<std::mutex> lock(speedLock_);
  if (speedSamples_.size() < 3000) speedSamples_.push_back(speedKBps);
}

uint32_t CMainWnd::RecordDownloadAverageSpeed() {
  std::lock_guard<std::mutex> lock(speedLock_);
  if (speedSamples_.empty()) return 0;
  const uint64_t sum = std::accumulate(speedSamples_.begin(), speedSamples_.end(), uint64_t(0));
  // The completion actions store this figure; a usage report would carry it too.
  return static_cast<uint32_t>(sum / speedSamples_.size());
}

bool CMainWnd::AreAllComponentsInstalled() const { return ::AreAllComponentsInstalled(components_); }
