// The provider record, its registry and the exported lookup, inside the process.
#include "api/provider.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/entry_points.h"

namespace zeb::test {
namespace {

TEST(GetProviders, RefusesNullArgumentsAndLeavesTheOtherAlone) {
  const ZebInterface_t** providers = nullptr;
  uint32_t count = 77;
  EXPECT_EQ(ZebInterface_getProviders(nullptr, &count), 1004u);
  EXPECT_EQ(count, 77u);
  EXPECT_EQ(ZebInterface_getProviders(&providers, nullptr), 1004u);
  EXPECT_EQ(providers, nullptr);
}

TEST(GetProviders, GivesTheSameSingleProviderEveryTime) {
  const ZebInterface_t** first = nullptr;
  const ZebInterface_t** second = nullptr;
  uint32_t count = 0;
  ASSERT_EQ(ZebInterface_getProviders(&first, &count), 0u);
  EXPECT_EQ(count, 1u);
  ASSERT_EQ(ZebInterface_getProviders(&second, &count), 0u);
  EXPECT_EQ(first, second);

  const ZebInterface_t& provider = *first[0];
  EXPECT_EQ(provider.backendId, 2u);
  EXPECT_STREQ(provider.providerName, "SCRIBE_VORA_KITE");
  const Zeb_ApiVersion_t& version = provider.apiVersion;
  EXPECT_EQ(
      std::vector<uint32_t>({version.coreApiVersion.major, version.coreApiVersion.minor,
                             version.coreApiVersion.patch, version.backendApiVersion.major,
                             version.backendApiVersion.minor, version.backendApiVersion.patch}),
      std::vector<uint32_t>({2, 15, 0, 1, 1, 0}));
}

TEST(FunctionTable, FillsAll56Slots) {
  using AnyFunction = void (*)();
  const ZEB_INTERFACE_VER_TYPE table = functionTable();
  static_assert(sizeof table == 56 * sizeof(AnyFunction));
  AnyFunction slots[56];
  std::memcpy(slots, &table, sizeof table);
  for (int slot = 0; slot < 56; ++slot) EXPECT_NE(slots[slot], nullptr) << "slot " << slot;
}

TEST(ProviderRegistry, RefusesARecordWithoutAGraphOrTensorSlot) {
  ZebInterface_t full{};
  full.ZEB_INTERFACE_VER_NAME = functionTable();
  using Table = ZEB_INTERFACE_VER_TYPE;
  const std::vector<void (*)(Table&)> removals = {
      [](Table& t) { t.graphCreate = nullptr; },
      [](Table& t) { t.graphAddNode = nullptr; },
      [](Table& t) { t.graphFinalize = nullptr; },
      [](Table& t) { t.graphRetrieve = nullptr; },
      [](Table& t) { t.graphExecute = nullptr; },
      [](Table& t) { t.tensorCreateContextTensor = nullptr; },
      [](Table& t) { t.tensorCreateGraphTensor = nullptr; },
  };
  ProviderRegistry registry;
  for (const auto remove : removals) {
    ZebInterface_t lacking = full;
    remove(lacking.ZEB_INTERFACE_VER_NAME);
    EXPECT_FALSE(registry.add(lacking));
  }
  EXPECT_EQ(registry.count(), 0u);

  EXPECT_TRUE(registry.add(full));
  ASSERT_EQ(registry.count(), 1u);
  EXPECT_NE(registry.providers()[0], &full);  // the registry keeps its own copy
  EXPECT_EQ(registry.providers()[0]->ZEB_INTERFACE_VER_NAME.graphCreate,
            full.ZEB_INTERFACE_VER_NAME.graphCreate);
}

TEST(DirectAnswers, ApiVersionAndBuildId) {
  Zeb_ApiVersion_t version{};
  EXPECT_EQ(entry::backendGetApiVersion(nullptr), 4004u);
  ASSERT_EQ(entry::backendGetApiVersion(&version), 0u);
  EXPECT_EQ(version.coreApiVersion.minor, 15u);
  EXPECT_EQ(version.backendApiVersion.minor, 1u);

  const char* id = nullptr;
  EXPECT_EQ(entry::backendGetBuildId(nullptr), 4004u);
  ASSERT_EQ(entry::backendGetBuildId(&id), 0u);
  EXPECT_STREQ(id, "v2.22.0.240425235059_92863");
}

}  // namespace
}  // namespace zeb::test
