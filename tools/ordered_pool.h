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
  // Called by one thread at a time, in task order, with whether the next
  // result is ready behind this one (a sink that writes may hold this one
  // back then, to write both together); false stops the pool (a failed
  // write, say).
  using Sink = std::function<bool(const std::string& result, bool more_ready)>;

  // Starts up to `threads` workers: fewer when the system refuses more
  // (threads() says how many), none at all only when it refuses the first.
  // `max_weight` bounds the summed weight of the tasks given and not yet
  // handed on (their input bytes, say), so that large tasks cannot pile up.
  OrderedPool(unsigned threads, Sink sink, std::size_t max_weight = kUnboundedWeight);
  ~OrderedPool();
  OrderedPool(const OrderedPool&) = delete;
  OrderedPool& operator=(const OrderedPool&) = delete;

  static constexpr std::size_t kUnboundedWeight = static_cast<std::size_t>(-1);

  unsigned threads() const { return static_cast<unsigned>(workers_.size()); }

  // Waits while too many results, or too much weight, are pending (a task
  // heavier than the bound alone waits for the queue to empty); false once
  // the sink failed, or when no worker could be started.
  bool Submit(Task task, std::size_t weight = 0);
  // Waits for every submitted task to be handed on; false if the sink failed.
  bool Finish();

 private:
  struct Slot {
    Task task;
    std::optional<std::string> result;
    std::size_t weight = 0;
  };
  void Work();
  // Hands on the results at the front that are ready, unless another
  // thread is already at it (it will see them). Called with `lock` held.
  void HandOnReady(std::unique_lock<std::mutex>& lock);

  Sink sink_;
  std::size_t capacity_;
  std::size_t max_weight_;
  std::size_t weight_ = 0;  // of the slots in the queue
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
