#include "http/TransferProgress.h"

#include <gtest/gtest.h>

namespace {

TEST(ComputeProgress, AverageSpeedOverWholeSecondsAndPercentOfExpected) {
  const struct {
    uint64_t total, expected, elapsedUs;
    uint32_t percent, speed;
  } cases[] = {
      {8192, 0, 10, 0, 8},                            // unknown size: percent 0, at least one second
      {8192, 81920, 999999, 10, 8},
      {10 * 1024 * 1024, 20 * 1024 * 1024, 2500000, 50, 5120},  // 2.5 s counts as 2
      {30000, 10, 1, 300000, 29},                     // a body longer than announced
      {4294967396ull, 5368709120ull, 100000000, 80, 41943},  // beyond 4 GiB
      {5368709120ull, 5368709120ull, 1000000, 100, 5242880},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.total << " of " << c.expected);
    ProgressFigures figures = ComputeProgress(c.total, c.expected, c.elapsedUs);
    EXPECT_EQ(figures.percent, c.percent);
    EXPECT_EQ(figures.speedKBps, c.speed);
  }
}

TEST(NextTransferStep, EndsAtTheLengthOrAtTheEndOfData) {
  const struct {
    uint64_t total, expected;
    uint32_t available;
    TransferStep step;
  } cases[] = {
      {100, 1000, 8192, TransferStep::kContinue},
      {1000, 1000, 8192, TransferStep::kComplete},
      {1500, 1000, 8192, TransferStep::kComplete},   // longer body: stop after this chunk
      {100, 1000, 0, TransferStep::kBodyEnded},      // cut short
      {0, 0, 0, TransferStep::kComplete},            // empty file without a length
      {5000, 0, 8192, TransferStep::kContinue},      // no length: read on
      {5000, 0, 0, TransferStep::kComplete},
      {4294967296ull, 4294967396ull, 0, TransferStep::kBodyEnded},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.total << "/" << c.expected << " available " << c.available);
    EXPECT_EQ(NextTransferStep(c.total, c.expected, c.available), c.step);
  }
}

TEST(ReadBufferSize, GrowsForLargeChunksWithinTheCap) {
  EXPECT_EQ(ReadBufferSize(kMinReadBuffer, 100), kMinReadBuffer);
  EXPECT_EQ(ReadBufferSize(kMinReadBuffer, 8192), kMinReadBuffer);
  EXPECT_EQ(ReadBufferSize(kMinReadBuffer, 8193), 8194u);
  EXPECT_EQ(ReadBufferSize(20000, 100), 20000u);  // a larger buffer stays in use
  EXPECT_EQ(ReadBufferSize(kMinReadBuffer, 0xFFFFFFFFu), kMaxReadBuffer);
}

}  // namespace
