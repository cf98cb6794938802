// The download client's arithmetic and end-of-body decisions, kept apart from the I/O.
#pragma once

#include <cstdint>

struct ProgressFigures {
  uint32_t percent = 0;    // 0 while the expected length is unknown; may pass 100
  uint32_t speedKBps = 0;  // average since the first chunk
};

// total bytes so far, expected length (0 = unknown), microseconds since the first chunk.
// The elapsed time counts in whole seconds, at least one.
ProgressFigures ComputeProgress(uint64_t total, uint64_t expected, uint64_t elapsedMicroseconds);

enum class TransferStep {
  kContinue,   // read the next chunk
  kComplete,   // the whole file is written
  kBodyEnded,  // the server announced no more data before the expected length
};

// Decides after each query of available data (available) and each chunk (total so far).
// With a known length the transfer ends as soon as the total reaches it (a longer body is
// cut after that chunk); without one it runs until no more data is announced.
TransferStep NextTransferStep(uint64_t total, uint64_t expected, uint32_t available);

// Size of the read buffer for an announced chunk: at least 8193 bytes, one more than the
// chunk, never more than kMaxReadBuffer (a larger chunk is read in several pieces).
constexpr uint32_t kMinReadBuffer = 8193;
constexpr uint32_t kMaxReadBuffer = 1024 * 1024 + 1;
uint32_t ReadBufferSize(uint32_t current, uint32_t available);
