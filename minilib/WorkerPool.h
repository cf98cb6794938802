// The process's thread pool: every piece of background work (the install run, the
// usage reports) is posted here as a Callback. Tasks start in posting order; once the
// pool is stopped, tasks still queued never start.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "minilib/Callback.h"

namespace minilib {

class WorkerPool {
 public:
  // The process's pool: built and started on first use with one thread per logical
  // processor (at least one); stopped again at process end.
  static WorkerPool& Instance();

  WorkerPool();
  ~WorkerPool();

  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  void Start(unsigned threadCount);
  // Never blocks for longer than the queue lock.
  void Post(const Callback<void()>& task);
  // Lets running tasks finish, drops the queued ones and joins the threads. Must not be
  // called from a pool thread. A second call does nothing.
  void Stop();

  size_t ThreadCount() const;

 private:
  class TaskQueue {
   public:
    void Push(std::function<void()> task);
    // Blocks until a task is there or the queue is stopped; none once stopped.
    std::optional<std::function<void()>> Take();
    void SetStopped(bool stopped);

   private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> tasks_;
    bool stopped_ = false;
  };

  void WorkerLoop();

  mutable std::mutex startLock_;  // always taken before the queue's lock
  std::atomic<bool> started_{false};
  std::vector<std::thread> threads_;
  TaskQueue queue_;
};

}  // namespace minilib
