// A warm create/free pair allocates nothing: released records and their map
// nodes are reused, and blocks are composed in buffers earlier blocks grew.
// Devices stay registered, so their store grows now and then by design.
// Counted by replacing the global operator new, which the sanitizers own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

#include "api/entry_points.h"
#include "support/session.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZEB_COUNTS_ALLOCATIONS 0
#else
#define ZEB_COUNTS_ALLOCATIONS 1

namespace {
std::atomic<unsigned long> allocations{0};
}  // namespace

void* operator new(std::size_t bytes) {
  ++allocations;
  if (void* block = std::malloc(bytes == 0 ? 1 : bytes)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
#endif

namespace zeb::test {
namespace {

TEST(Allocations, WarmCreateFreePairsAllocateNothing) {
#if !ZEB_COUNTS_ALLOCATIONS
  GTEST_SKIP() << "the sanitizer owns operator new";
#else
  Session s;
  Recorder& r = s.recorder;
  ASSERT_EQ(r.start(), 0u);
  Zeb_BackendHandle_t backend = nullptr;
  ASSERT_EQ(entry::backendCreate(r, nullptr, nullptr, &backend), 0u);
  Zeb_ContextHandle_t context = nullptr;
  Zeb_ProfileHandle_t profile = nullptr;
  Zeb_BackendHandle_t other = nullptr;
  const struct {
    const char* kind;
    std::function<void()> pair;
  } pairs[] = {
      {"context", [&] {
         ASSERT_EQ(entry::contextCreate(r, backend, nullptr, nullptr, &context), 0u);
         ASSERT_EQ(entry::contextFree(r, context, nullptr), 0u);
       }},
      {"backend", [&] {
         ASSERT_EQ(entry::backendCreate(r, nullptr, nullptr, &other), 0u);
         ASSERT_EQ(entry::backendFree(r, other), 0u);
       }},
      {"profile", [&] {
         ASSERT_EQ(entry::profileCreate(r, backend, ZEB_PROFILE_LEVEL_BASIC, &profile), 0u);
         ASSERT_EQ(entry::profileFree(r, profile), 0u);
       }},
  };
  for (const auto& kind : pairs) {
    for (int i = 0; i < 3; ++i) kind.pair();
    const unsigned long before = allocations;
    for (int i = 0; i < 100; ++i) kind.pair();
    EXPECT_EQ(allocations - before, 0u) << kind.kind;
  }
#endif
}

}  // namespace
}  // namespace zeb::test
