// The canonical lines the whole-road comparison rests on; a log only where ZEB_ECHO_LOG names one.
#include <gtest/gtest.h>

#include <cstdlib>

#include "canonical.h"
#include "echo_backend.h"
#include "echo_state.h"
#include "support/scoped_temp_dir.h"

namespace zeb::echo {
namespace {

template <class Write>
std::string lineOf(Write write) {
  Ordinals ordinals;
  Line line(ordinals, "call");
  write(line.arg("x"));
  return line.finish();
}

TEST(EchoCanonical, BuffersAsSizeAndHashStringsOnOneLine) {
  EXPECT_EQ(fnv1a("foobar", 6), 0x85944171f73967e8ull);
  EXPECT_EQ(lineOf([](Line& l) { l.buffer(nullptr, 16); }), "call x=buf(NULL)\n");
  EXPECT_EQ(lineOf([](Line& l) { l.buffer("", 0); }), "call x=buf(0,0xcbf29ce484222325)\n");
  EXPECT_EQ(lineOf([](Line& l) { l.string("a\"b\\c\nd\x7f"); }), "call x=\"a\\\"b\\\\c\\x0ad\\x7f\"\n");
  EXPECT_EQ(lineOf([](Line& l) { l.string(nullptr); }), "call x=NULL\n");
}

void setLogVariable(const char* value) {
#ifdef _WIN32
  _putenv_s(kLogVariable, value != nullptr ? value : "");
#else
  value != nullptr ? setenv(kLogVariable, value, 1) : unsetenv(kLogVariable);
#endif
}

class EchoBackend : public testing::Test {
 protected:
  void TearDown() override {
    setLogVariable(nullptr);
    resetEchoState(EchoSettings{});  // closes the log before the directory goes
  }
  const ZEB_INTERFACE_VER_TYPE& api = [] {
    const ZebInterface_t** providers = nullptr; uint32_t count = 0;
    ZebInterface_getProviders(&providers, &count);
    return std::cref(providers[0]->ZEB_INTERFACE_VER_NAME);
  }();
  test::ScopedTempDir dir;
};

TEST_F(EchoBackend, LogsOnlyWhenTheVariableNamesAFile) {
  resetEchoState(EchoSettings::fromEnvironment());
  api.propertyHasCapability(7);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

  std::ofstream("calls.log", std::ios::binary) << "earlier\n";
  setLogVariable("calls.log");
  resetEchoState(EchoSettings::fromEnvironment());
  api.propertyHasCapability(7);
  EXPECT_EQ(test::readFile("calls.log"), "earlier\npropertyHasCapability key=7\n");
}

}  // namespace
}  // namespace zeb::echo
