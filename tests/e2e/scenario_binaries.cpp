// A client that saves a context's binary, makes contexts from binaries it
// hands in and validates binaries: every context binary call, with and
// without its optional arguments.
#include <cstdint>

#include "builders.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

uint8_t kBinary[16] = {0xB1, 0, 1, 2, 3, 0xFF, 0x7F, 0x80, 8, 9, 10, 11, 12, 13, 14, 0xB2};

// Size queries, then binary queries, each asked twice: the written program
// declares their variables once.
void saveBinary(const ZebApi& api, Zeb_ContextHandle_t context) {
  Zeb_ContextBinarySize_t size = 0;
  api.contextGetBinarySize(context, &size);
  api.contextGetBinarySize(context, &size);
  api.contextGetBinarySize(context, nullptr);
  static uint8_t buffer[1024];
  Zeb_ContextBinarySize_t written = 0;
  // The size the backend answered (a recording answers none; the written
  // program passes the size its own query receives).
  api.contextGetBinary(context, buffer, size, &written);
  api.contextGetBinary(context, buffer, size, nullptr);
}

}  // namespace

void binaries(const ZebApi& api) {
  const ZebBackend_Config_t* noBackendConfigs[] = {nullptr};
  Zeb_BackendHandle_t backend = nullptr;
  api.backendCreate(nullptr, noBackendConfigs, &backend);
  const ZebContext_Config_t* noConfigs[] = {nullptr};
  Zeb_ContextHandle_t context = nullptr;
  api.contextCreate(backend, nullptr, noConfigs, &context);
  saveBinary(api, context);

  const ZebContext_Config_t priority = contextPriority(ZEB_PRIORITY_HIGH);
  const ZebContext_Config_t oem = contextOemString("from binary");
  const ZebContext_Config_t* configs[] = {&priority, &oem, nullptr};
  Zeb_ContextHandle_t fromBinary = nullptr;
  api.contextCreateFromBinary(backend, nullptr, configs, kBinary, sizeof kBinary, &fromBinary,
                              nullptr);
  Zeb_ContextHandle_t withSignal = nullptr;
  api.contextCreateFromBinaryWithSignal(backend, nullptr, noConfigs, nullptr, 32, &withSignal,
                                        nullptr, nullptr);
  api.contextValidateBinary(backend, nullptr, configs, kBinary, 8);
  api.contextValidateBinary(nullptr, nullptr, noConfigs, kBinary + 8, 8);

  api.contextFree(withSignal, nullptr);
  api.contextFree(fromBinary, nullptr);
  api.contextFree(context, nullptr);
  api.backendFree(backend);
}

void dataAndBinaries(const ZebApi& api) {
  dataPath(api);
  binaries(api);
}

void switched(const ZebApi& api) {
  dataAndBinaries(api);
  switchFiles();
  dataAndBinaries(api);
}

}  // namespace zeb::e2e
