#include "minilib/WorkerPool.h"

#include <algorithm>

namespace minilib {

WorkerPool& WorkerPool::Instance() {
  static WorkerPool& pool = [] () -> WorkerPool& {
    static WorkerPool instance;
    instance.Start(std::max(1u, std::thread::hardware_concurrency()));
    return instance;
  }();
  return pool;
}

WorkerPool::WorkerPool() {
  // The instance counters must outlive the pool: their leak check then runs after the
  // pool has destroyed the callbacks it never ran.
  (void)CBChecker::Counter();
  (void)BinderBase::Counter();
}

WorkerPool::~WorkerPool() { Stop(); }

void WorkerPool::Start(unsigned threadCount) {
  std::lock_guard<std::mutex> lock(startLock_);
  if (started_.load()) return;
  started_.store(true);
  queue_.SetStopped(false);
  threadCount = std::max(1u, threadCount);
  for (unsigned i = 0; i < threadCount; ++i) threads_.emplace_back(&WorkerPool::WorkerLoop, this);
}

void WorkerPool::Post(const Callback<void()>& task) {
  queue_.Push([task] { task(); });
}

void WorkerPool::Stop() {
  std::lock_guard<std::mutex> lock(startLock_);
  if (!started_.load()) return;
  started_.store(false);
  queue_.SetStopped(true);
  for (std::thread& t : threads_) t.join();
  threads_.clear();
}

size_t WorkerPool::ThreadCount() const {
  std::lock_guard<std::mutex> lock(startLock_);
  return threads_.size();
}

void WorkerPool::WorkerLoop() {
  for (;;) {
    if (auto task = queue_.Take()) (*task)();
    if (!started_.load()) return;
  }
}

void WorkerPool::TaskQueue::Push(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  ready_.notify_one();
}

std::optional<std::function<void()>> WorkerPool::TaskQueue::Take() {
  std::unique_lock<std::mutex> lock(mutex_);
  ready_.wait(lock, [this] { return stopped_ || !tasks_.empty(); });
  if (stopped_) return std::nullopt;
  std::function<void()> task = std::move(tasks_.front());
  tasks_.pop_front();
  return task;
}

void WorkerPool::TaskQueue::SetStopped(bool stopped) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = stopped;
  }
  if (stopped) ready_.notify_all();
}

}  // namespace minilib
