// A warm create/free pair allocates nothing: released records and their map
// nodes are reused, and blocks are composed in buffers earlier blocks grew.
// (Devices stay registered, so their store grows now and then by design.)
// Counted by replacing the global operator new, which the sanitizers own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

#include "api/entry_points.h"
#include "support/session.h"

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
std::atomic<unsigned long> allocations{0};

void* operator new(std::size_t bytes) {
  ++allocations;
  if (void* block = std::malloc(bytes == 0 ? 1 : bytes)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace zeb::test {
namespace {

TEST(Allocations, WarmCreateFreePairsAllocateNothing) {
  Session s;
  Recorder& r = s.recorder;
  Zeb_BackendHandle_t backend = nullptr, other = nullptr;
  Zeb_ContextHandle_t context = nullptr;
  Zeb_ProfileHandle_t profile = nullptr;
  ASSERT_EQ(entry::backendCreate(r, nullptr, nullptr, &backend), 0u);
  const std::function<void()> pairs[] = {
      [&] { entry::contextCreate(r, backend, nullptr, nullptr, &context), entry::contextFree(r, context, nullptr); },
      [&] { entry::backendCreate(r, nullptr, nullptr, &other), entry::backendFree(r, other); },
      [&] { entry::profileCreate(r, backend, ZEB_PROFILE_LEVEL_BASIC, &profile), entry::profileFree(r, profile); }};
  for (const auto& pair : pairs) {
    for (int i = 0; i < 3; ++i) pair();
    const unsigned long before = allocations;
    for (int i = 0; i < 100; ++i) pair();
    EXPECT_EQ(allocations - before, 0u);
  }
  EXPECT_EQ(s.log.texts(), std::vector<std::string>{});  // every call succeeded
}

}  // namespace
}  // namespace zeb::test
#endif
