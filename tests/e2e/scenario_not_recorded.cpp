// Calls that reach ZebScribe but never reach its written program: the frame
// alone, the log family, the two answers it gives itself, the unsupported slots.
#include <cstdint>

#include "config_builders.h"
#include "scenarios.h"

namespace zeb::e2e {
namespace {

// Slots 22, 35, 36 and 38: unsupported and refused before the recorder starts.
void callUnsupportedWithoutStart(const ZebApi& api) {
  api.graphExecuteAsync(nullptr, nullptr, 0, nullptr, 0, nullptr, nullptr, nullptr, nullptr);
  Zeb_MemHandle_t memHandle = nullptr;
  api.memRegister(nullptr, nullptr, 0, &memHandle);
  api.memDeRegister(&memHandle, 1);
  api.deviceFreePlatformInfo(nullptr, nullptr);
}

// Slots 44 to 53: the signal, error-message and graph-update families.
void callUnsupportedSignalsErrorsUpdates(const ZebApi& api) {
  Zeb_SignalHandle_t signal = nullptr;
  api.signalCreate(nullptr, &signal);
  api.signalSetConfig(signal, nullptr);
  api.signalTrigger(signal);
  api.signalFree(signal);

  const char* message = nullptr;
  api.errorGetMessage(1000, &message);
  api.errorGetVerboseMessage(1000, &message);
  api.errorFreeVerboseMessage(message);

  api.graphUpdateInputTensors(nullptr, nullptr, 0);
  api.graphUpdateOutputTensors(nullptr, nullptr, 0);
  const ZebGraph_ExecutionEnvironment_t* noEnvironment[] = {nullptr};
  api.graphPrepareExecutionEnvironment(nullptr, noEnvironment);
}

}  // namespace

void frameOnly(const ZebApi& api) {
  // Starts ZebScribe's recorder (the frame is written) and records nothing.
  const char* message = nullptr;
  api.errorGetMessage(0, &message);
}

void notRecorded(const ZebApi& api) {
  Zeb_LogHandle_t logger = nullptr;
  api.logCreate(nullptr, ZEB_LOG_LEVEL_ERROR, &logger);
  api.logSetLogLevel(logger, ZEB_LOG_LEVEL_WARN);

  Zeb_ApiVersion_t version{};
  api.backendGetApiVersion(&version);
  const char* buildId = nullptr;
  api.backendGetBuildId(&buildId);

  callUnsupportedWithoutStart(api);
  const ZebBackend_Config_t platform = backendPlatform("cpu");
  const ZebBackend_Config_t* configs[] = {&platform, nullptr};
  Zeb_BackendHandle_t backend = nullptr;
  api.backendCreate(logger, configs, &backend);
  callUnsupportedSignalsErrorsUpdates(api);
  api.backendFree(backend);

  api.logFree(logger);
}

}  // namespace zeb::e2e
