#include "http/TransferProgress.h"

#include <algorithm>

ProgressFigures ComputeProgress(uint64_t total, uint64_t expected, uint64_t elapsedMicroseconds) {
  uint64_t seconds = elapsedMicroseconds / 1000000;
  if (seconds == 0) seconds = 1;
  ProgressFigures figures;
  figures.speedKBps = static_cast<uint32_t>(total / seconds / 1024);
  if (expected != 0) figures.percent = static_cast<uint32_t>(total * 100 / expected);
  return figures;
}

TransferStep NextTransferStep(uint64_t total, uint64_t expected, uint32_t available) {
  if (expected != 0 && total >= expected) return TransferStep::kComplete;
  if (available == 0) return expected == 0 ? TransferStep::kComplete : TransferStep::kBodyEnded;
  return TransferStep::kContinue;
}

uint32_t ReadBufferSize(uint32_t current, uint32_t available) {
  uint32_t wanted = available >= kMaxReadBuffer - 1 ? kMaxReadBuffer : available + 1;
  return std::max({current, kMinReadBuffer, wanted});
}
