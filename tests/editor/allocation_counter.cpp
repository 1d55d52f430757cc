// The global operator new and delete, replaced for the whole test binary so a test can tell
// whether a stretch of frames allocated anything. Kept in a file of its own so the compiler
// never inlines a delete next to a new it cannot see is ours.
#include "allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> Allocations{0};
}

long AllocationCount() {
  return Allocations;
}

void* operator new(size_t size) {
  ++Allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}
