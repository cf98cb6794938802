#include <gtest/gtest.h>
#include <windows.h>

#include "minilib/UniqueHandle.h"

namespace {

int g_releases = 0;
HANDLE g_released = nullptr;
BOOL WINAPI CountingRelease(HANDLE h) {
  ++g_releases;
  g_released = h;
  return TRUE;
}

TEST(UniqueHandle, EmptyValuesAreNeverReleased) {
  g_releases = 0;
  for (HANDLE h : {static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE}) {
    minilib::UniqueHandle handle(h, CountingRelease);
    EXPECT_FALSE(handle.IsValid());
  }
  EXPECT_EQ(g_releases, 0);
}

TEST(UniqueHandle, ReleasesOnceAndLeavesInvalidValue) {
  g_releases = 0;
  HANDLE fake = reinterpret_cast<HANDLE>(0x40);
  {
    minilib::UniqueHandle handle(fake, CountingRelease);
    handle.Reset();
    EXPECT_EQ(handle.Get(), INVALID_HANDLE_VALUE);
    handle.Reset();
  }
  EXPECT_EQ(g_releases, 1);
  EXPECT_EQ(g_released, fake);
}

TEST(UniqueHandle, MoveTransfersOwnership) {
  g_releases = 0;
  {
    minilib::UniqueHandle a(reinterpret_cast<HANDLE>(0x44), CountingRelease);
    minilib::UniqueHandle b(std::move(a));
    EXPECT_FALSE(a.IsValid());
    EXPECT_TRUE(b.IsValid());
  }
  EXPECT_EQ(g_releases, 1);
}

TEST(UniqueHandle, ClosesARealEvent) {
  minilib::UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event.IsValid());
  HANDLE raw = event.Get();
  event.Reset();
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "handle was closed";
}

}  // namespace
