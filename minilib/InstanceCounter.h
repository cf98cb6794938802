// Counts the live instances of one class; at process end a positive count is reported
// on standard output as a leak.
#pragma once

#include <atomic>
#include <cstdint>

namespace minilib {

class InstanceCounter {
 public:
  explicit InstanceCounter(const char* className) : className_(className) {}
  ~InstanceCounter();  // the leak report

  InstanceCounter(const InstanceCounter&) = delete;
  InstanceCounter& operator=(const InstanceCounter&) = delete;

  void Increment() { count_.fetch_add(1, std::memory_order_relaxed); }
  void Decrement() { count_.fetch_sub(1, std::memory_order_relaxed); }
  int32_t Count() const { return count_.load(std::memory_order_relaxed); }
  const char* ClassName() const { return className_; }

 private:
  const char* className_;
  std::atomic<int32_t> count_{0};
};

}  // namespace minilib
