#include "minilib/InstanceCounter.h"

#include <cstdio>

namespace minilib {

InstanceCounter::~InstanceCounter() {
  int32_t count = Count();
  if (count > 0) {
    std::printf("*** Leaked objects detected: %d instance(s) of class %s\n", static_cast<int>(count), className_);
    std::fflush(stdout);
  }
}

}  // namespace minilib
