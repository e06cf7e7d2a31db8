#pragma once
// This test program's operator new: it notes the largest allocation and can
// make large ones fail, so tests can see how much code holds at once and how
// it copes with running out of memory.

#include <cstddef>

namespace zr::testing {

class AllocationWatch {
 public:
  // Watches the allocations from here on; with fail_from > 0 every one of
  // at least that many bytes throws std::bad_alloc.
  explicit AllocationWatch(std::size_t fail_from = 0);
  ~AllocationWatch();
  AllocationWatch(const AllocationWatch&) = delete;
  AllocationWatch& operator=(const AllocationWatch&) = delete;

  std::size_t Largest() const;
  bool Failed() const;
};

}  // namespace zr::testing
