// Loads the built shared library as a client does and talks to it only
// through the exported lookup and the function table.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ZebInterface.h"
#include "support/scoped_temp_dir.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace zeb::test {
namespace {

#if defined(_WIN32)
void* openLibrary(const char* path) { return reinterpret_cast<void*>(LoadLibraryA(path)); }
void* findSymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
void closeLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }
#else
void* openLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
void* findSymbol(void* library, const char* name) { return dlsym(library, name); }
void closeLibrary(void* library) { dlclose(library); }
#endif

class LoadedLibrary : public testing::Test {
 protected:
  void SetUp() override {
    library_ = openLibrary(ZEB_SCRIBE_LIBRARY);
    ASSERT_NE(library_, nullptr) << "cannot load " << ZEB_SCRIBE_LIBRARY;
    getProviders_ = reinterpret_cast<ZebInterface_GetProvidersFn_t>(
        findSymbol(library_, "ZebInterface_getProviders"));
    ASSERT_NE(getProviders_, nullptr);
  }
  void TearDown() override {
    if (library_) closeLibrary(library_);
  }

  const ZebInterface_t& provider() {
    const ZebInterface_t** providers = nullptr;
    uint32_t count = 0;
    EXPECT_EQ(getProviders_(&providers, &count), 0u);
    return *providers[0];
  }
  bool outputAppeared() const {
    return std::filesystem::exists(directory_.path() / "scribe_output");
  }

  ScopedTempDir directory_;  // the working directory; outlives the library
  void* library_ = nullptr;
  ZebInterface_GetProvidersFn_t getProviders_ = nullptr;
};

TEST_F(LoadedLibrary, OffersOneProviderThroughTheSameArray) {
  const ZebInterface_t** first = nullptr;
  const ZebInterface_t** second = nullptr;
  uint32_t count = 0;
  ASSERT_EQ(getProviders_(&first, &count), 0u);
  EXPECT_EQ(count, 1u);
  ASSERT_EQ(getProviders_(&second, &count), 0u);
  EXPECT_EQ(first, second);
  EXPECT_EQ(getProviders_(nullptr, &count), 1004u);

  EXPECT_EQ(first[0]->backendId, 2u);
  EXPECT_STREQ(first[0]->providerName, "SCRIBE_VORA_KITE");
  const Zeb_ApiVersion_t& version = first[0]->apiVersion;
  EXPECT_EQ(version.coreApiVersion.major, 2u);
  EXPECT_EQ(version.coreApiVersion.minor, 15u);
  EXPECT_EQ(version.coreApiVersion.patch, 0u);
  EXPECT_EQ(version.backendApiVersion.major, 1u);
  EXPECT_EQ(version.backendApiVersion.minor, 1u);
  EXPECT_EQ(version.backendApiVersion.patch, 0u);
}

TEST_F(LoadedLibrary, VersionAndBuildIdAnswerWithoutOutput) {
  const auto& table = provider().ZEB_INTERFACE_VER_NAME;
  Zeb_ApiVersion_t version{};
  ASSERT_EQ(table.backendGetApiVersion(&version), 0u);
  EXPECT_EQ(version.coreApiVersion.minor, 15u);
  const char* id = nullptr;
  ASSERT_EQ(table.backendGetBuildId(&id), 0u);
  EXPECT_STREQ(id, "v2.22.0.240425235059_92863");
  EXPECT_FALSE(outputAppeared());
}

// With "./scribe_output" taken by a plain file the recorder cannot start.
TEST_F(LoadedLibrary, AnswersWhenTheRecorderCannotStart) {
  std::ofstream(directory_.path() / "scribe_output") << "not a directory";
  const auto& table = provider().ZEB_INTERFACE_VER_NAME;
  Zeb_ApiVersion_t version{};
  EXPECT_EQ(table.backendGetApiVersion(&version), 0u);
  EXPECT_EQ(
      table.graphExecuteAsync(nullptr, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, nullptr),
      1000u);
  const char* message = nullptr;
  EXPECT_EQ(table.errorGetMessage(1000, &message), 4000u);
  EXPECT_EQ(table.backendCreate(nullptr, nullptr, nullptr), 4004u);
  Zeb_ContextHandle_t context = nullptr;
  EXPECT_EQ(table.contextCreate(nullptr, nullptr, nullptr, &context), 4000u);
  EXPECT_TRUE(std::filesystem::is_regular_file(directory_.path() / "scribe_output"));
}

}  // namespace
}  // namespace zeb::test
