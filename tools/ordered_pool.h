#pragma once
// Runs tasks on several threads and hands their results on in the order the
// tasks were given, each as soon as it and all before it are done, so a
// program reading the output through a pipe sees it line by line.
//
// Built to keep its threads busy rather than waking each other: the worker
// that completes the oldest pending task hands on every result that is
// ready (no thread of its own for that), workers are woken only when they
// are idle, and the submitter, once the queue is full, only when it has
// half emptied.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zr {

class OrderedPool {
 public:
  using Task = std::function<std::string()>;
  // Called by one thread at a time, in task order; false stops the pool (a
  // failed write, say).
  using Sink = std::function<bool(const std::string&)>;

  OrderedPool(unsigned threads, Sink sink);
  ~OrderedPool();
  OrderedPool(const OrderedPool&) = delete;
  OrderedPool& operator=(const OrderedPool&) = delete;

  // Waits while too many results are pending; false once the sink failed.
  bool Submit(Task task);
  // Waits for every submitted task to be handed on; false if the sink failed.
  bool Finish();

 private:
  struct Slot {
    Task task;
    std::optional<std::string> result;
  };
  void Work();
  // Hands on the results at the front that are ready, unless another
  // thread is already at it (it will see them). Called with `lock` held.
  void HandOnReady(std::unique_lock<std::mutex>& lock);

  Sink sink_;
  std::size_t capacity_;
  std::mutex mutex_;
  std::condition_variable work_;   // a task to take, or closing
  std::condition_variable space_;  // room in the queue, or failed
  std::deque<Slot> slots_;         // from the oldest not yet handed on
  std::size_t next_untaken_ = 0;   // index in slots_ of the oldest untaken task
  unsigned idle_workers_ = 0;
  bool submitter_waiting_ = false;
  bool handing_on_ = false;
  bool closing_ = false;
  bool failed_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace zr
