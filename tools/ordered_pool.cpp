#include "ordered_pool.h"

#include <utility>

namespace zr {

OrderedPool::OrderedPool(unsigned threads, Sink sink)
    : sink_(std::move(sink)), capacity_(std::size_t{16} * (threads == 0 ? 1 : threads)) {
  for (unsigned i = 0; i < (threads == 0 ? 1 : threads); ++i)
    workers_.emplace_back([this] { Work(); });
}

OrderedPool::~OrderedPool() { Finish(); }

bool OrderedPool::Submit(Task task) {
  std::unique_lock lock(mutex_);
  if (slots_.size() >= capacity_ && !failed_) {
    submitter_waiting_ = true;
    space_.wait(lock, [&] { return failed_ || slots_.size() < capacity_; });
    submitter_waiting_ = false;
  }
  if (failed_) return false;
  slots_.push_back(Slot{std::move(task), std::nullopt});
  if (idle_workers_ > 0) work_.notify_one();
  return true;
}

bool OrderedPool::Finish() {
  {
    std::unique_lock lock(mutex_);
    if (!closing_) {
      closing_ = true;
      work_.notify_all();
    }
  }
  for (std::thread& t : workers_) {
    if (t.joinable()) t.join();
  }
  std::unique_lock lock(mutex_);
  return !failed_;
}

void OrderedPool::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (failed_) return;
    if (next_untaken_ == slots_.size()) {
      // Every task taken: the results still pending are someone else's.
      if (closing_) return;
      ++idle_workers_;
      work_.wait(lock, [&] { return failed_ || closing_ || next_untaken_ < slots_.size(); });
      --idle_workers_;
      continue;
    }
    const std::size_t index = next_untaken_++;
    Slot* slot = &slots_[index];
    Task task = std::move(slot->task);
    lock.unlock();
    std::string result = task();
    lock.lock();
    // Slots leave only from the front, once handed on, and this one has no
    // result yet: it is still in the deque, though perhaps nearer the
    // front. A deque keeps its elements in place when either end changes.
    slot->result = std::move(result);
    HandOnReady(lock);
  }
}

void OrderedPool::HandOnReady(std::unique_lock<std::mutex>& lock) {
  if (handing_on_) return;
  handing_on_ = true;
  while (!failed_ && !slots_.empty() && slots_.front().result) {
    std::string result = std::move(*slots_.front().result);
    slots_.pop_front();
    --next_untaken_;
    // Woken only once half the queue is free, not for every result.
    if (submitter_waiting_ && slots_.size() <= capacity_ / 2) space_.notify_one();
    lock.unlock();
    const bool ok = sink_(result);
    lock.lock();
    if (!ok) {
      failed_ = true;
      work_.notify_all();
      space_.notify_all();
    }
  }
  handing_on_ = false;
}

}  // namespace zr
