// A client that saves a context's binary, makes contexts from binaries it
// hands in and validates binaries: every context binary call, with and
// without its optional arguments.
#include <cstdint>

#include "builders.h"
#include "scenarios.h"

namespace zeb::e2e {

void binaries(const ZebApi& api) {
  static uint8_t binary[16] = {0xB1, 0, 1, 2, 3, 0xFF, 0x7F, 0x80, 8, 9, 10, 11, 12, 13, 14, 0xB2}, buffer[1024];
  const ZebBackend_Config_t* noBackendConfigs[] = {nullptr};
  Zeb_BackendHandle_t backend = nullptr; api.backendCreate(nullptr, noBackendConfigs, &backend);
  const ZebContext_Config_t* noConfigs[] = {nullptr};
  Zeb_ContextHandle_t context = nullptr; api.contextCreate(backend, nullptr, noConfigs, &context);
  // Size queries, then binary queries, each asked twice: the written program
  // declares their variables once. The binary query passes the size the backend
  // answered (a recording answers none; the written program passes the size its
  // own query receives).
  Zeb_ContextBinarySize_t size = 0, written = 0;
  api.contextGetBinarySize(context, &size); api.contextGetBinarySize(context, &size);
  api.contextGetBinarySize(context, nullptr);
  api.contextGetBinary(context, buffer, size, &written); api.contextGetBinary(context, buffer, size, nullptr);

  const ContextConfig configs[] = {contextPriority(ZEB_PRIORITY_HIGH), contextOemString("from binary")};
  Zeb_ContextHandle_t fromBinary = nullptr, withSignal = nullptr;
  api.contextCreateFromBinary(backend, nullptr, listOf(configs).data(), binary, sizeof binary, &fromBinary, nullptr);
  api.contextCreateFromBinaryWithSignal(backend, nullptr, noConfigs, nullptr, 32, &withSignal, nullptr, nullptr);
  api.contextValidateBinary(backend, nullptr, listOf(configs).data(), binary, 8);
  api.contextValidateBinary(nullptr, nullptr, noConfigs, binary + 8, 8);
  api.contextFree(withSignal, nullptr); api.contextFree(fromBinary, nullptr);
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
