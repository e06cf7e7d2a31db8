#include "failing_allocation.h"

#include <cstdlib>
#include <new>

namespace {

bool watching = false;
std::size_t fail_from = 0;
std::size_t largest = 0;
bool failed = false;

void* Allocate(std::size_t size) {
  if (watching) {
    if (size > largest) largest = size;
    if (fail_from > 0 && size >= fail_from) {
      failed = true;
      throw std::bad_alloc();
    }
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

// Every plain form, so that whatever new allocates, delete gives back the
// same way (the sanitizers check that).
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace zr::testing {

AllocationWatch::AllocationWatch(std::size_t fail) {
  fail_from = fail;
  largest = 0;
  failed = false;
  watching = true;
}

AllocationWatch::~AllocationWatch() { watching = false; }

std::size_t AllocationWatch::Largest() const { return largest; }
bool AllocationWatch::Failed() const { return failed; }

}  // namespace zr::testing
