#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "minilib/WorkerPool.h"

namespace {

using minilib::Callback;
using namespace std::chrono_literals;

TEST(WorkerPool, OneThreadRunsTasksInPostingOrder) {
  std::mutex m;
  std::vector<int> order;
  std::atomic<int> done{0};
  {
    minilib::WorkerPool pool;
    pool.Start(1);
    for (int i = 1; i <= 3; ++i) {
      pool.Post(Callback<void()>([&, i] {
        std::this_thread::sleep_for(10ms);
        std::lock_guard<std::mutex> lock(m);
        order.push_back(i);
        ++done;
      }));
    }
    while (done < 3) std::this_thread::sleep_for(1ms);
    pool.Stop();
  }
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(WorkerPool, StopFinishesRunningTaskAndDropsWaitingOnes) {
  std::atomic<bool> running{false}, finished{false};
  std::atomic<int> laterRan{0};
  minilib::WorkerPool pool;
  pool.Start(1);
  pool.Post(Callback<void()>([&] {
    running = true;
    std::this_thread::sleep_for(200ms);
    finished = true;
  }));
  pool.Post(Callback<void()>([&] { ++laterRan; }));
  pool.Post(Callback<void()>([&] { ++laterRan; }));
  while (!running) std::this_thread::sleep_for(1ms);
  pool.Stop();
  EXPECT_TRUE(finished) << "Stop returns only after the running task";
  EXPECT_EQ(laterRan, 0);
  EXPECT_EQ(pool.ThreadCount(), 0u);
  pool.Stop();  // a second stop does nothing
  pool.Post(Callback<void()>([&] { ++laterRan; }));  // posted after stop: never runs
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(laterRan, 0);
}

TEST(WorkerPool, AtLeastOneThread) {
  minilib::WorkerPool pool;
  pool.Start(0);
  EXPECT_EQ(pool.ThreadCount(), 1u);
  std::atomic<bool> ran{false};
  pool.Post(Callback<void()>([&] { ran = true; }));
  for (int i = 0; i < 1000 && !ran; ++i) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(ran);
}

TEST(WorkerPool, ProcessPoolIsStartedOnFirstUse) {
  EXPECT_GE(minilib::WorkerPool::Instance().ThreadCount(), 1u);
  EXPECT_EQ(&minilib::WorkerPool::Instance(), &minilib::WorkerPool::Instance());
}

TEST(Callback, CopiesShareOneBinderAndCountsReturnToZero) {
  const int callbacksBefore = minilib::CBChecker::Counter().Count();
  const int bindersBefore = minilib::BinderBase::Counter().Count();
  int calls = 0;
  {
    Callback<void()> a([&] { ++calls; });
    Callback<void()> b = a;
    EXPECT_EQ(minilib::CBChecker::Counter().Count(), callbacksBefore + 2);
    EXPECT_EQ(minilib::BinderBase::Counter().Count(), bindersBefore + 1);
    a();
    b();
  }
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(minilib::CBChecker::Counter().Count(), callbacksBefore);
  EXPECT_EQ(minilib::BinderBase::Counter().Count(), bindersBefore);
}

TEST(Callback, DroppedQueuedTasksAreDestroyedWithThePool) {
  const int bindersBefore = minilib::BinderBase::Counter().Count();
  {
    minilib::WorkerPool pool;
    pool.Start(1);
    pool.Stop();
    pool.Post(Callback<void()>([] {}));
    EXPECT_EQ(minilib::BinderBase::Counter().Count(), bindersBefore + 1);
  }
  EXPECT_EQ(minilib::BinderBase::Counter().Count(), bindersBefore);
}

}  // namespace
