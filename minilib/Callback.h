// minilib::Callback<void()>: a small copyable callable whose copies share one bound
// function object. Both the callbacks and the binders count their live instances.
#pragma once

#include <concepts>
#include <memory>
#include <type_traits>
#include <utility>

#include "minilib/InstanceCounter.h"

namespace minilib {

class BinderBase {
 public:
  using InvokeFunction = void (*)(BinderBase*);

  explicit BinderBase(InvokeFunction invoke) : invoke(invoke) { Counter().Increment(); }
  virtual ~BinderBase() { Counter().Decrement(); }
  BinderBase(const BinderBase&) = delete;
  BinderBase& operator=(const BinderBase&) = delete;

  static InstanceCounter& Counter() {
    static InstanceCounter counter("BinderBase");
    return counter;
  }

  InvokeFunction invoke;
};

template <int BoundArgs, typename F>
class Binder;

// Binds no call arguments: the stored callable takes none.
template <typename F>
class Binder<0, F> final : public BinderBase {
 public:
  explicit Binder(F f) : BinderBase(&Binder::Call), f_(std::move(f)) {}

 private:
  static void Call(BinderBase* self) { static_cast<Binder*>(self)->f_(); }
  F f_;
};

class CBChecker {
 public:
  CBChecker() { Counter().Increment(); }
  CBChecker(const CBChecker&) { Counter().Increment(); }
  CBChecker& operator=(const CBChecker&) = default;
  virtual ~CBChecker() { Counter().Decrement(); }

  static InstanceCounter& Counter() {
    static InstanceCounter counter("CBChecker");
    return counter;
  }
};

template <typename Signature>
class Callback;

template <>
class Callback<void()> : public CBChecker {
 public:
  template <typename F>
    requires(!std::same_as<std::decay_t<F>, Callback> && std::invocable<std::decay_t<F>&>)
  explicit Callback(F&& f)
      : binder_(std::make_shared<Binder<0, std::decay_t<F>>>(std::forward<F>(f))) {}

  void operator()() const { binder_->invoke(binder_.get()); }

 private:
  std::shared_ptr<BinderBase> binder_;
};

}  // namespace minilib
