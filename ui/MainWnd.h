// The main window's pipeline state and its install-run members. The window itself (pages,
// skin, controls) builds on this; until then the class holds the state and runs one install
// run, handing results back through its UI task queue.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "component/ComponentItem.h"
#include "component/ComponentList.h"
#include "minilib/UniqueHandle.h"
#include "ui/InstallStage.h"

class CMainWnd {
 public:
  CMainWnd();  // reads the installed state of every enabled component
  virtual ~CMainWnd();

  CMainWnd(const CMainWnd&) = delete;
  CMainWnd& operator=(const CMainWnd&) = delete;

  // One install run; queued on the worker pool, at most once per process.
  void DoInstallComponent();

  // The run's end, called from the worker after stage and error code are final.
  virtual void OnInstallComplete();
  virtual void OnInstallFailed();

  // Queues a task for the UI thread and wakes it (UiTaskEvent until a window exists).
  void PostToUi(std::function<void()> task);
  // Runs the queued tasks in order, on the UI thread; each runs outside the task lock.
  void RunUiTasks();
  HANDLE UiTaskEvent() const { return uiTaskEvent_.Get(); }

  // UI thread: one progress update of a package transfer.
  virtual void OnDownloadProgress(uint32_t percent, uint32_t speedKBps);
  // Average of this transfer's speed samples, KB/s (0 without samples).
  uint32_t RecordDownloadAverageSpeed();

  bool AreAllComponentsInstalled() const;
  InstallStage Stage() const { return stage_.load(); }
  void SetStage(InstallStage stage) { stage_.store(stage); }
  int32_t ErrorCode() const { return errorCode_.load(); }
  const InstalledComponentMap& Components() const { return components_; }
  const std::vector<ComponentItem>& NeedInstallItems() const { return needInstall_; }

 protected:
  // UI hooks of the run, each queued to the UI thread: progress bar full after the download
  // phase, status animation while the installers run.
  virtual void OnDownloadPhaseDone() {}
  virtual void OnInstallPhaseStarted() {}
  virtual void OnInstallPhaseEnded() {}

  void SetErrorCode(int32_t code) { errorCode_.store(code); }

  // Pipeline steps; each returns false after setting the error code.
  std::wstring DownloadComponentXml();
  bool ParseComponentXml(const std::wstring& path);
  void GetNeedInstallComponentLocalInfo();
  void GetNeedInstallComponentItems();
  bool CheckNeedInstallComponentItems();
  bool DownloadComponent();
  bool InstallComponent();

 private:
  const char* RunInstallSteps();  // nullptr on success, else the stop message

  std::atomic<InstallStage> stage_{StageIdle};
  InstalledComponentMap components_;
  std::atomic<int32_t> errorCode_{0};

  std::mutex taskLock_;
  std::deque<std::function<void()>> uiTasks_;
  minilib::UniqueHandle uiTaskEvent_;

  ComponentItemMap defaultItems_;
  ComponentItemMap channelItems_;
  std::vector<int32_t> needInstallIds_;
  std::vector<ComponentItem> needInstall_;

  std::mutex speedLock_;  // the worker empties the samples while the UI thread appends
  std::vector<uint32_t> speedSamples_;
};
