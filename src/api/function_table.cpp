#include <exception>
#include <mutex>

#include "api/entry_points.h"
#include "api/provider.h"

namespace zeb {
namespace {

// A table slot for a recording entry point: passes the process-wide recorder
// (4000 once it is gone at unload), holds it for the whole call, and keeps
// exceptions (only running out of memory can raise one) from crossing into the
// client, which sees codes only.
template <auto Entry>
struct Slot;

template <class... Arguments, Zeb_ErrorHandle_t (*Entry)(Recorder&, Arguments...)>
struct Slot<Entry> {
  static Zeb_ErrorHandle_t call(Arguments... arguments) {
    try {
      Recorder* recorder = Recorder::instance();
      if (recorder == nullptr) return ZEB_BACKEND_ERROR_CANNOT_INITIALIZE;
      const std::lock_guard<std::recursive_mutex> lock(recorder->callMutex());
      return Entry(*recorder, arguments...);
    } catch (const std::exception&) {
      return ZEB_COMMON_ERROR_MEM_ALLOC;
    }
  }
};

}  // namespace

ZEB_INTERFACE_VER_TYPE functionTable() {
  ZEB_INTERFACE_VER_TYPE table{};
  table.propertyHasCapability = Slot<entry::propertyHasCapability>::call;
  table.backendCreate = Slot<entry::backendCreate>::call;
  table.backendSetConfig = Slot<entry::backendSetConfig>::call;
  table.backendGetApiVersion = entry::backendGetApiVersion;
  table.backendGetBuildId = entry::backendGetBuildId;
  table.backendRegisterOpPackage = Slot<entry::backendRegisterOpPackage>::call;
  table.backendGetSupportedOperations = Slot<entry::backendGetSupportedOperations>::call;
  table.backendValidateOpConfig = Slot<entry::backendValidateOpConfig>::call;
  table.backendFree = Slot<entry::backendFree>::call;
  table.contextCreate = Slot<entry::contextCreate>::call;
  table.contextSetConfig = Slot<entry::contextSetConfig>::call;
  table.contextGetBinarySize = Slot<entry::contextGetBinarySize>::call;
  table.contextGetBinary = Slot<entry::contextGetBinary>::call;
  table.contextCreateFromBinary = Slot<entry::contextCreateFromBinary>::call;
  table.contextFree = Slot<entry::contextFree>::call;
  table.graphCreate = Slot<entry::graphCreate>::call;
  table.graphCreateSubgraph = Slot<entry::graphCreateSubgraph>::call;
  table.graphSetConfig = Slot<entry::graphSetConfig>::call;
  table.graphAddNode = Slot<entry::graphAddNode>::call;
  table.graphFinalize = Slot<entry::graphFinalize>::call;
  table.graphRetrieve = Slot<entry::graphRetrieve>::call;
  table.graphExecute = Slot<entry::graphExecute>::call;
  table.graphExecuteAsync = entry::unsupported;
  table.tensorCreateContextTensor = Slot<entry::tensorCreateContextTensor>::call;
  table.tensorCreateGraphTensor = Slot<entry::tensorCreateGraphTensor>::call;
  table.logCreate = entry::logCreate;
  table.logSetLogLevel = entry::logSetLogLevel;
  table.logFree = entry::logFree;
  table.profileCreate = Slot<entry::profileCreate>::call;
  table.profileSetConfig = Slot<entry::profileSetConfig>::call;
  table.profileGetEvents = Slot<entry::profileGetEvents>::call;
  table.profileGetSubEvents = Slot<entry::profileGetSubEvents>::call;
  table.profileGetEventData = Slot<entry::profileGetEventData>::call;
  table.profileGetExtendedEventData = Slot<entry::profileGetExtendedEventData>::call;
  table.profileFree = Slot<entry::profileFree>::call;
  table.memRegister = entry::unsupported;
  table.memDeRegister = entry::unsupported;
  table.deviceGetPlatformInfo = Slot<entry::deviceGetPlatformInfo>::call;
  table.deviceFreePlatformInfo = entry::unsupported;
  table.deviceGetInfrastructure = Slot<entry::deviceGetInfrastructure>::call;
  table.deviceCreate = Slot<entry::deviceCreate>::call;
  table.deviceSetConfig = Slot<entry::deviceSetConfig>::call;
  table.deviceGetInfo = Slot<entry::deviceGetInfo>::call;
  table.deviceFree = Slot<entry::deviceFree>::call;
  table.signalCreate = entry::unsupported;
  table.signalSetConfig = entry::unsupported;
  table.signalTrigger = entry::unsupported;
  table.signalFree = entry::unsupported;
  table.errorGetMessage = Slot<entry::errorGetMessage>::call;
  table.errorGetVerboseMessage = Slot<entry::errorGetVerboseMessage>::call;
  table.errorFreeVerboseMessage = Slot<entry::errorFreeVerboseMessage>::call;
  table.graphUpdateInputTensors = entry::graphUpdateTensors;
  table.graphUpdateOutputTensors = entry::graphUpdateTensors;
  table.graphPrepareExecutionEnvironment = Slot<entry::graphPrepareExecutionEnvironment>::call;
  table.contextValidateBinary = Slot<entry::contextValidateBinary>::call;
  table.contextCreateFromBinaryWithSignal = Slot<entry::contextCreateFromBinaryWithSignal>::call;
  return table;
}

}  // namespace zeb
