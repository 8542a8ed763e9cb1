// The one provider, its registry and the answers given without recording, in
// the process and through the built library loaded as a client loads it.
#include "api/provider.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "api/entry_points.h"
#include "support/scoped_temp_dir.h"

#if defined(_WIN32)
#include <windows.h>
#define OPEN_LIBRARY(path) reinterpret_cast<void*>(LoadLibraryA(path))
#define FIND_SYMBOL(library, name) \
  reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name))
#define CLOSE_LIBRARY(library) FreeLibrary(static_cast<HMODULE>(library))
#else
#include <dlfcn.h>
#define OPEN_LIBRARY(path) dlopen(path, RTLD_NOW | RTLD_LOCAL)
#define FIND_SYMBOL(library, name) dlsym(library, name)
#define CLOSE_LIBRARY(library) dlclose(library)
#endif

namespace zeb::test {
namespace {

TEST(GetProviders, RefusesANullArgumentAndLeavesTheOtherAlone) {
  const ZebInterface_t** providers = nullptr;
  uint32_t count = 77;
  EXPECT_EQ(ZebInterface_getProviders(nullptr, &count), 1004u);
  EXPECT_EQ(count, 77u);
  EXPECT_EQ(ZebInterface_getProviders(&providers, nullptr), 1004u);
  EXPECT_EQ(providers, nullptr);
}

TEST(GetProviders, GivesTheSameOneProviderEveryTime) {
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
  const Zeb_ApiVersion_t& v = provider.apiVersion;
  EXPECT_EQ(std::vector<uint32_t>({v.coreApiVersion.major, v.coreApiVersion.minor,
                                   v.coreApiVersion.patch, v.backendApiVersion.major,
                                   v.backendApiVersion.minor, v.backendApiVersion.patch}),
            std::vector<uint32_t>({2, 15, 0, 1, 1, 0}));
}

TEST(ProviderRegistry, RefusesARecordWithoutAGraphOrTensorSlot) {
  using Table = ZEB_INTERFACE_VER_TYPE;
  const std::vector<void (*)(Table&)> removals = {
      [](Table& t) { t.graphCreate = nullptr; },   [](Table& t) { t.graphAddNode = nullptr; },
      [](Table& t) { t.graphFinalize = nullptr; }, [](Table& t) { t.graphRetrieve = nullptr; },
      [](Table& t) { t.graphExecute = nullptr; },
      [](Table& t) { t.tensorCreateContextTensor = nullptr; },
      [](Table& t) { t.tensorCreateGraphTensor = nullptr; },
  };
  ZebInterface_t full{};
  full.ZEB_INTERFACE_VER_NAME = functionTable();
  ProviderRegistry registry;
  for (const auto remove : removals) {
    ZebInterface_t lacking = full;
    remove(lacking.ZEB_INTERFACE_VER_NAME);
    EXPECT_FALSE(registry.add(lacking));
  }
  EXPECT_TRUE(registry.add(full));
  EXPECT_EQ(registry.count(), 1u);
}

TEST(DirectAnswers, ApiVersionAndBuildId) {
  Zeb_ApiVersion_t version{};
  EXPECT_EQ(entry::backendGetApiVersion(nullptr), 4004u);
  ASSERT_EQ(entry::backendGetApiVersion(&version), 0u);
  EXPECT_EQ(version.backendApiVersion.minor, 1u);
  const char* id = nullptr;
  EXPECT_EQ(entry::backendGetBuildId(nullptr), 4004u);
  ASSERT_EQ(entry::backendGetBuildId(&id), 0u);
  EXPECT_STREQ(id, "v2.22.0.240425235059_92863");
}

// The built library, loaded in a directory where "./scribe_output" is a plain
// file, so that the recorder cannot start.
TEST(LoadedLibrary, AnswersWhatNeedsNoRecorderWhenTheRecorderCannotStart) {
  ScopedTempDir directory;
  std::ofstream("scribe_output") << "not a directory";
  void* library = OPEN_LIBRARY(ZEB_SCRIBE_LIBRARY);
  ASSERT_NE(library, nullptr) << ZEB_SCRIBE_LIBRARY;
  const auto getProviders = reinterpret_cast<ZebInterface_GetProvidersFn_t>(
      FIND_SYMBOL(library, "ZebInterface_getProviders"));
  ASSERT_NE(getProviders, nullptr);
  const ZebInterface_t** providers = nullptr;
  uint32_t count = 0;
  ASSERT_EQ(getProviders(&providers, &count), 0u);
  const ZEB_INTERFACE_VER_TYPE& table = providers[0]->ZEB_INTERFACE_VER_NAME;

  Zeb_ApiVersion_t version{};
  EXPECT_EQ(table.backendGetApiVersion(&version), 0u);
  const char* text = nullptr;
  EXPECT_EQ(table.backendGetBuildId(&text), 0u);
  EXPECT_EQ(table.signalCreate(nullptr, nullptr), 1000u);
  EXPECT_EQ(table.errorGetMessage(1000, &text), 4000u);
  EXPECT_EQ(table.backendCreate(nullptr, nullptr, nullptr), 4004u);
  EXPECT_EQ(table.tensorCreateContextTensor(nullptr, nullptr), 7004u);
  Zeb_ContextHandle_t context = nullptr;
  EXPECT_EQ(table.contextCreate(nullptr, nullptr, nullptr, nullptr), 4000u);
  EXPECT_EQ(table.contextCreate(nullptr, nullptr, nullptr, &context), 4000u);
  EXPECT_TRUE(std::filesystem::is_regular_file("scribe_output"));
  CLOSE_LIBRARY(library);
}

}  // namespace
}  // namespace zeb::test
