// Process entry: one pass from the start line to the end line.
#include <windows.h>

#include "app/SilentInstall.h"
#include "config/GlobalConfig.h"
#include "minilib/HeapTuning.h"
#include "minilib/Log.h"
#include "minilib/UniqueHandle.h"
#include "minilib/WorkerPool.h"

int WINAPI wWinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/,
                    int /*nCmdShow*/) {
  minilib::EnableLowFragmentationHeaps();
  MLOG_INFO("Main") << "MirelDownload Start.";

  // Reads the channel blocks and settles folders, supply id and language (registry).
  GlobalConfig::Instance();

  // Owns the single-instance mutex for the whole run; released last.
  minilib::UniqueHandle instanceMutex;

  if (GlobalConfig::Instance().silentMode == 1) {
    // Until the silent window exists: one install run on the pool, without a window.
    RunSilentInstall();
  } else {
    // This build has no installer window yet: the window steps are skipped.
    MLOG_INFO("Main") << "No installer window in this build: window steps skipped.";
  }

  MLOG_INFO("Main") << "MirelDownload End.";
  minilib::WorkerPool::Instance().Stop();
  instanceMutex.Reset();
  return 0;
}
