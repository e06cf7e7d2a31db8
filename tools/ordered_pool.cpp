#include "ordered_pool.h"

#include <utility>

namespace zr {

OrderedPool::OrderedPool(unsigned threads, Sink sink)
    : sink_(std::move(sink)), capacity_(std::size_t{4} * (threads == 0 ? 1 : threads)) {
  for (unsigned i = 0; i < (threads == 0 ? 1 : threads); ++i)
    workers_.emplace_back([this] { Work(); });
  deliverer_ = std::thread([this] { Deliver(); });
}

OrderedPool::~OrderedPool() { Finish(); }

bool OrderedPool::Submit(Task task) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return failed_ || slots_.size() < capacity_; });
  if (failed_) return false;
  slots_.push_back(Slot{std::move(task), std::nullopt, false});
  changed_.notify_all();
  return true;
}

bool OrderedPool::Finish() {
  {
    std::unique_lock lock(mutex_);
    if (!closing_) {
      closing_ = true;
      changed_.notify_all();
    }
  }
  for (std::thread& t : workers_) {
    if (t.joinable()) t.join();
  }
  if (deliverer_.joinable()) deliverer_.join();
  std::unique_lock lock(mutex_);
  return !failed_;
}

void OrderedPool::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    Slot* slot = nullptr;
    changed_.wait(lock, [&] {
      if (failed_) return true;
      for (Slot& s : slots_) {
        if (!s.taken) {
          slot = &s;
          return true;
        }
      }
      return closing_;
    });
    if (failed_ || slot == nullptr) return;
    slot->taken = true;
    Task task = std::move(slot->task);
    lock.unlock();
    std::string result = task();
    lock.lock();
    // Slots are only removed from the front once delivered, and a taken
    // slot is delivered only after its result is set: `slot` still stands.
    slot->result = std::move(result);
    changed_.notify_all();
  }
}

void OrderedPool::Deliver() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] {
      return failed_ || (!slots_.empty() && slots_.front().result) || (closing_ && slots_.empty());
    });
    if (failed_ || slots_.empty()) return;
    std::string result = std::move(*slots_.front().result);
    slots_.pop_front();
    changed_.notify_all();
    lock.unlock();
    const bool ok = sink_(result);
    lock.lock();
    if (!ok) {
      failed_ = true;
      changed_.notify_all();
      return;
    }
  }
}

}  // namespace zr
