#include "ordered_pool.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace zr {

OrderedPool::OrderedPool(unsigned threads, Sink sink, std::size_t max_weight)
    : sink_(std::move(sink)), max_weight_(max_weight) {
  if (threads == 0) threads = 1;
  workers_.reserve(threads);
  for (unsigned i = 0; i < threads; ++i) {
    try {
      workers_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      break;  // out of threads or memory for stacks: go on with those started
    }
  }
  capacity_ = std::size_t{16} * std::max<std::size_t>(1, workers_.size());
}

OrderedPool::~OrderedPool() { Finish(); }

bool OrderedPool::Submit(Task task, std::size_t weight) {
  if (workers_.empty()) return false;
  std::unique_lock lock(mutex_);
  const auto room = [&] {
    return slots_.size() < capacity_ &&
           (slots_.empty() || (weight <= max_weight_ && weight_ <= max_weight_ - weight));
  };
  if (!room() && !failed_) {
    submitter_waiting_ = true;
    space_.wait(lock, [&] { return failed_ || room(); });
    submitter_waiting_ = false;
  }
  if (failed_) return false;
  weight_ += weight;
  slots_.push_back(Slot{std::move(task), std::nullopt, weight});
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
    const std::size_t weight = slots_.front().weight;
    slots_.pop_front();
    --next_untaken_;
    const bool more_ready = !slots_.empty() && slots_.front().result;
    lock.unlock();
    const bool ok = sink_(result, more_ready);
    lock.lock();
    weight_ -= weight;  // only now: the result was held until here
    // Woken only once half the queue (or of the weight) is free, not for
    // every result.
    if (submitter_waiting_ && (slots_.size() <= capacity_ / 2 || weight_ <= max_weight_ / 2)) {
      space_.notify_one();
    }
    if (!ok) {
      failed_ = true;
      work_.notify_all();
      space_.notify_all();
    }
  }
  handing_on_ = false;
}

}  // namespace zr
