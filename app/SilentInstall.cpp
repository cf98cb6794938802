#include "app/SilentInstall.h"

#include <windows.h>

#include "component/InstallError.h"
#include "minilib/Log.h"
#include "minilib/WorkerPool.h"
#include "ui/MainWnd.h"

namespace {

class CSilentInstallRun : public CMainWnd {
 public:
  CSilentInstallRun() : finished_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  HANDLE Finished() const { return finished_.Get(); }

  // Both run on the worker; launching the product after success is a completion action
  // that comes with the silent window.
  void OnInstallComplete() override { SetEvent(finished_.Get()); }
  void OnInstallFailed() override { SetEvent(finished_.Get()); }

 private:
  minilib::UniqueHandle finished_;
};

}  // namespace

void RunSilentInstall() {
  CSilentInstallRun run;
  if (run.AreAllComponentsInstalled()) {
    run.SetStage(StageDone);
    MLOG_INFO("MainWnd") << "all needed component installed.";
    return;
  }
  minilib::WorkerPool::Instance().Post(minilib::Callback<void()>([&run] { run.DoInstallComponent(); }));
  const HANDLE waits[] = {run.Finished(), run.UiTaskEvent()};
  for (;;) {
    const DWORD which = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    run.RunUiTasks();
    if (which != WAIT_OBJECT_0 + 1) break;  // the run finished (or the wait itself failed)
  }
  run.RunUiTasks();
  const int32_t code = run.ErrorCode();
  if (run.Stage() == StageDone) {
    MLOG_INFO("Main") << "install run ended. stage: " << static_cast<int>(run.Stage()) << " error code: " << code
                      << " text id: " << InstallErrorTextId(code);
  } else {
    MLOG_ERROR("Main") << "install run ended. stage: " << static_cast<int>(run.Stage()) << " error code: " << code
                       << " text id: " << InstallErrorTextId(code);
  }
}
