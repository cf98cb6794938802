#include "minilib/HeapTuning.h"

#include <windows.h>

#include <vector>

namespace minilib {

void EnableLowFragmentationHeaps() {
  DWORD count = ::GetProcessHeaps(0, nullptr);
  std::vector<HANDLE> heaps(count + 8);
  count = ::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  for (DWORD i = 0; i < count && i < heaps.size(); ++i) {
    ULONG lowFragmentation = 2;
    // A heap that refuses (debug or fixed-size heaps) simply stays as it is.
    ::HeapSetInformation(heaps[i], HeapCompatibilityInformation, &lowFragmentation, sizeof(lowFragmentation));
  }
}

}  // namespace minilib
