// The one provider of the library loaded as a client loads it, and its registry.
#include "api/provider.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "pal/pal.h"
#include "support/scoped_temp_dir.h"

namespace zeb::test {
namespace {

// Loaded where "./scribe_output" is a plain file, so the recorder cannot start.
TEST(LoadedLibrary, OneProviderAndTheAnswersThatNeedNoRecorder) {
  ScopedTempDir directory;
  std::ofstream("scribe_output") << "in the way";
  std::string reason;
  void* library = pal::loadLibrary(ZEB_SCRIBE_LIBRARY, reason);
  ASSERT_NE(library, nullptr) << ZEB_SCRIBE_LIBRARY << ": " << reason;
  const auto getProviders =
      reinterpret_cast<ZebInterface_GetProvidersFn_t>(pal::librarySymbol(library, "ZebInterface_getProviders"));
  ASSERT_NE(getProviders, nullptr);
  const ZebInterface_t **first = nullptr, **second = nullptr;
  uint32_t count = 77;
  EXPECT_EQ(getProviders(nullptr, &count), 1004u);
  EXPECT_EQ(getProviders(&first, nullptr), 1004u);
  EXPECT_EQ(count, 77u);
  EXPECT_EQ(first, nullptr);
  ASSERT_EQ(getProviders(&first, &count), 0u);
  ASSERT_EQ(getProviders(&second, &count), 0u);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first[0]->backendId, 2u);
  EXPECT_STREQ(first[0]->providerName, "SCRIBE_VORA_KITE");
  const ZEB_INTERFACE_VER_TYPE& table = first[0]->ZEB_INTERFACE_VER_NAME;
  const Zeb_ApiVersion_t expected{{2, 15, 0}, {1, 1, 0}};
  Zeb_ApiVersion_t version{};
  EXPECT_EQ(table.backendGetApiVersion(nullptr), 4004u);
  EXPECT_EQ(table.backendGetApiVersion(&version), 0u);
  EXPECT_EQ(std::memcmp(&first[0]->apiVersion, &expected, sizeof expected), 0);
  EXPECT_EQ(std::memcmp(&version, &expected, sizeof expected), 0);
  const char* text = nullptr;
  EXPECT_EQ(table.backendGetBuildId(nullptr), 4004u);
  EXPECT_EQ(table.backendGetBuildId(&text), 0u);
  EXPECT_STREQ(text, "v2.22.0.240425235059_92863");
  // The two guards that come before the start, then the start's own failure.
  EXPECT_EQ(table.backendCreate(nullptr, nullptr, nullptr), 4004u);
  EXPECT_EQ(table.tensorCreateContextTensor(nullptr, nullptr), 7004u);
  EXPECT_EQ(table.signalCreate(nullptr, nullptr), 1000u);
  EXPECT_EQ(table.errorGetMessage(1000, &text), 4000u);
  EXPECT_EQ(table.contextCreate(nullptr, nullptr, nullptr, nullptr), 4000u);
  EXPECT_TRUE(std::filesystem::is_regular_file("scribe_output"));
}

TEST(ProviderRegistry, RefusesARecordWithoutAGraphOrTensorSlot) {
  ZebInterface_t full{};
  full.ZEB_INTERFACE_VER_NAME = functionTable();
  ProviderRegistry registry;
  // graphCreate, AddNode, Finalize, Retrieve, Execute and both tensor creations.
  for (const int slot : {15, 18, 19, 20, 21, 23, 24}) {
    ZebInterface_t lacking = full;
    using AnySlot = void (*)();
    std::memset(reinterpret_cast<AnySlot*>(&lacking.ZEB_INTERFACE_VER_NAME) + slot, 0, sizeof(AnySlot));
    EXPECT_FALSE(registry.add(lacking)) << "slot " << slot;
  }
  EXPECT_TRUE(registry.add(full));
  EXPECT_EQ(registry.count(), 1u);
}

}  // namespace
}  // namespace zeb::test
