// Outcome of one DownloadFile call. errorType is an install error code of the run.
#pragma once

#include <cstdint>

struct DownloadResult {
  bool ok = false;
  int32_t errorType = 0;     // 0 on success
  uint32_t systemError = 0;  // GetLastError right after the failing call; 0 on success
};
