#pragma once
// Runs tasks on several threads and hands their results on in the order the
// tasks were given, each as soon as it and all before it are done, so a
// program reading the output through a pipe sees it line by line.

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
  // Called on one thread, in task order; false stops the pool (a failed
  // write, say).
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
    bool taken = false;
  };
  void Work();
  void Deliver();

  Sink sink_;
  std::size_t capacity_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Slot> slots_;  // from the oldest not yet handed on
  bool closing_ = false;
  bool failed_ = false;
  std::vector<std::thread> workers_;
  std::thread deliverer_;
};

}  // namespace zr
