// The platform's own stream writes where the disk refuses them.
#include <gtest/gtest.h>

#include "pal/pal.h"

namespace zeb::test {
namespace {

#if !defined(_WIN32)
// A full disk takes nothing, and the write says so instead of trying again.
TEST(StreamOps, AFullDeviceTakesNoElement) {
  const pal::StreamOps& ops = pal::defaultStreamOps();
  std::FILE* full = ops.open("/dev/full", "wb");
  ASSERT_NE(full, nullptr);
  EXPECT_EQ(ops.write("block", 1, 5, full), 0u);
  EXPECT_EQ(ops.write("blob", 4, 1, full), 0u);
  ops.close(full);
}
#endif

}  // namespace
}  // namespace zeb::test
