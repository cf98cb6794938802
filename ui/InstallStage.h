// Where the install run stands; written by the run and by the window's preparation step.
#pragma once

#include <cstdint>

enum InstallStage : int32_t {
  StageIdle = 0,         // window constructed, nothing started
  StageDownloading = 1,  // component list and package downloads
  StageInstalling = 2,   // packages and their installers running
  StageDone = 10,        // every needed component is installed
  StageFailed = 11,      // the run stopped with an install error code
};
