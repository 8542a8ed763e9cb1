#include <exception>
#include <mutex>

#include "api/entry_points.h"
#include "api/provider.h"
#include "forward/forwarding.h"

namespace zeb {
namespace {

using Api = ZEB_INTERFACE_VER_TYPE;

// Exceptions (only running out of memory can raise one) never cross into the
// client, which sees codes only.
template <class Call>
Zeb_ErrorHandle_t answerWithCode(Call call) {
  try {
    return call();
  } catch (const std::exception&) {
    return ZEB_COMMON_ERROR_MEM_ALLOC;
  }
}

// A slot of a recording entry point (Member names it in the real backend's
// table): passes the process-wide recorder (4000 once it is gone at unload)
// and holds it for the whole call. In pass-through the real backend makes the
// call once it is recorded.
template <auto Entry, auto Member>
struct Recorded;

template <class... Arguments, Zeb_ErrorHandle_t (*Entry)(Recorder&, Arguments...), auto Member>
struct Recorded<Entry, Member> {
  // The only caller of Entry, which the compiler then builds into it: the call
  // as without forwarding, under the lock.
  ZEB_NEVER_INLINE static Zeb_ErrorHandle_t record(Recorder& recorder, Arguments... arguments) {
    const std::lock_guard<std::recursive_mutex> lock(recorder.callMutex());
    return Entry(recorder, arguments...);
  }

  static Zeb_ErrorHandle_t call(Arguments... arguments) {
    return answerWithCode([&] {
      Recorder* recorder = Recorder::instance();
      if (recorder == nullptr) return Zeb_ErrorHandle_t{ZEB_BACKEND_ERROR_CANNOT_INITIALIZE};
      if (recorder->forwarding()) return forward::recorded<record, Member>(*recorder, arguments...);
      return record(*recorder, arguments...);
    });
  }
};

// A slot whose entry point starts the recorder and answers the call itself;
// in pass-through the real backend answers it once the recorder has started.
template <auto Entry, auto Member>
struct Started;

template <class... Arguments, Zeb_ErrorHandle_t (*Entry)(Recorder&, Arguments...), auto Member>
struct Started<Entry, Member> {
  static Zeb_ErrorHandle_t call(Arguments... arguments) {
    return answerWithCode([&] {
      Recorder* recorder = Recorder::instance();
      if (recorder == nullptr) return Zeb_ErrorHandle_t{ZEB_BACKEND_ERROR_CANNOT_INITIALIZE};
      if (recorder->forwarding()) return forward::answered<Member, true>(*recorder, arguments...);
      const std::lock_guard<std::recursive_mutex> lock(recorder->callMutex());
      return Entry(*recorder, arguments...);
    });
  }
};

// A slot answered without the recorder; in pass-through the real backend
// answers it (the log family: as well as the recorder's own logger).
template <auto Entry, auto Member, bool OwnLogger = false>
struct Answered;

template <class... Arguments, Zeb_ErrorHandle_t (*Entry)(Arguments...), auto Member, bool OwnLogger>
struct Answered<Entry, Member, OwnLogger> {
  static Zeb_ErrorHandle_t call(Arguments... arguments) {
    return answerWithCode([&] {
      Recorder* recorder = Recorder::instance();
      if (recorder == nullptr || !recorder->forwarding()) return Entry(arguments...);
      if constexpr (OwnLogger) return forward::logged<Entry, Member>(*recorder, arguments...);
      return forward::answered<Member, false>(*recorder, arguments...);
    });
  }
};

template <auto Entry, auto Member>
using Logged = Answered<Entry, Member, true>;

// A slot this library does not support.
template <auto Member>
struct Refused;

template <class... Arguments, Zeb_ErrorHandle_t (*Api::*Member)(Arguments...)>
struct Refused<Member> : Answered<entry::unsupported<Arguments...>, Member> {};

}  // namespace

ZEB_INTERFACE_VER_TYPE functionTable() {
  ZEB_INTERFACE_VER_TYPE table{};
  table.propertyHasCapability = Recorded<entry::propertyHasCapability, &Api::propertyHasCapability>::call;
  table.backendCreate = Recorded<entry::backendCreate, &Api::backendCreate>::call;
  table.backendSetConfig = Recorded<entry::backendSetConfig, &Api::backendSetConfig>::call;
  table.backendGetApiVersion = Answered<entry::backendGetApiVersion, &Api::backendGetApiVersion>::call;
  table.backendGetBuildId = Answered<entry::backendGetBuildId, &Api::backendGetBuildId>::call;
  table.backendRegisterOpPackage = Recorded<entry::backendRegisterOpPackage, &Api::backendRegisterOpPackage>::call;
  table.backendGetSupportedOperations =
      Recorded<entry::backendGetSupportedOperations, &Api::backendGetSupportedOperations>::call;
  table.backendValidateOpConfig = Recorded<entry::backendValidateOpConfig, &Api::backendValidateOpConfig>::call;
  table.backendFree = Recorded<entry::backendFree, &Api::backendFree>::call;
  table.contextCreate = Recorded<entry::contextCreate, &Api::contextCreate>::call;
  table.contextSetConfig = Recorded<entry::contextSetConfig, &Api::contextSetConfig>::call;
  table.contextGetBinarySize = Recorded<entry::contextGetBinarySize, &Api::contextGetBinarySize>::call;
  table.contextGetBinary = Recorded<entry::contextGetBinary, &Api::contextGetBinary>::call;
  table.contextCreateFromBinary = Recorded<entry::contextCreateFromBinary, &Api::contextCreateFromBinary>::call;
  table.contextFree = Recorded<entry::contextFree, &Api::contextFree>::call;
  table.graphCreate = Recorded<entry::graphCreate, &Api::graphCreate>::call;
  table.graphCreateSubgraph = Recorded<entry::graphCreateSubgraph, &Api::graphCreateSubgraph>::call;
  table.graphSetConfig = Recorded<entry::graphSetConfig, &Api::graphSetConfig>::call;
  table.graphAddNode = Recorded<entry::graphAddNode, &Api::graphAddNode>::call;
  table.graphFinalize = Recorded<entry::graphFinalize, &Api::graphFinalize>::call;
  table.graphRetrieve = Recorded<entry::graphRetrieve, &Api::graphRetrieve>::call;
  table.graphExecute = Recorded<entry::graphExecute, &Api::graphExecute>::call;
  table.graphExecuteAsync = Refused<&Api::graphExecuteAsync>::call;
  table.tensorCreateContextTensor =
      Recorded<entry::tensorCreateContextTensor, &Api::tensorCreateContextTensor>::call;
  table.tensorCreateGraphTensor = Recorded<entry::tensorCreateGraphTensor, &Api::tensorCreateGraphTensor>::call;
  table.logCreate = Logged<entry::logCreate, &Api::logCreate>::call;
  table.logSetLogLevel = Logged<entry::logSetLogLevel, &Api::logSetLogLevel>::call;
  table.logFree = Logged<entry::logFree, &Api::logFree>::call;
  table.profileCreate = Recorded<entry::profileCreate, &Api::profileCreate>::call;
  table.profileSetConfig = Recorded<entry::profileSetConfig, &Api::profileSetConfig>::call;
  table.profileGetEvents = Recorded<entry::profileGetEvents, &Api::profileGetEvents>::call;
  table.profileGetSubEvents = Recorded<entry::profileGetSubEvents, &Api::profileGetSubEvents>::call;
  table.profileGetEventData = Recorded<entry::profileGetEventData, &Api::profileGetEventData>::call;
  table.profileGetExtendedEventData =
      Recorded<entry::profileGetExtendedEventData, &Api::profileGetExtendedEventData>::call;
  table.profileFree = Recorded<entry::profileFree, &Api::profileFree>::call;
  table.memRegister = Refused<&Api::memRegister>::call;
  table.memDeRegister = Refused<&Api::memDeRegister>::call;
  table.deviceGetPlatformInfo = Recorded<entry::deviceGetPlatformInfo, &Api::deviceGetPlatformInfo>::call;
  table.deviceFreePlatformInfo = Refused<&Api::deviceFreePlatformInfo>::call;
  table.deviceGetInfrastructure = Recorded<entry::deviceGetInfrastructure, &Api::deviceGetInfrastructure>::call;
  table.deviceCreate = Recorded<entry::deviceCreate, &Api::deviceCreate>::call;
  table.deviceSetConfig = Recorded<entry::deviceSetConfig, &Api::deviceSetConfig>::call;
  table.deviceGetInfo = Recorded<entry::deviceGetInfo, &Api::deviceGetInfo>::call;
  table.deviceFree = Recorded<entry::deviceFree, &Api::deviceFree>::call;
  table.signalCreate = Refused<&Api::signalCreate>::call;
  table.signalSetConfig = Refused<&Api::signalSetConfig>::call;
  table.signalTrigger = Refused<&Api::signalTrigger>::call;
  table.signalFree = Refused<&Api::signalFree>::call;
  table.errorGetMessage = Started<entry::errorGetMessage, &Api::errorGetMessage>::call;
  table.errorGetVerboseMessage = Started<entry::errorGetVerboseMessage, &Api::errorGetVerboseMessage>::call;
  table.errorFreeVerboseMessage = Started<entry::errorFreeVerboseMessage, &Api::errorFreeVerboseMessage>::call;
  table.graphUpdateInputTensors = Answered<entry::graphUpdateTensors, &Api::graphUpdateInputTensors>::call;
  table.graphUpdateOutputTensors = Answered<entry::graphUpdateTensors, &Api::graphUpdateOutputTensors>::call;
  table.graphPrepareExecutionEnvironment =
      Started<entry::graphPrepareExecutionEnvironment, &Api::graphPrepareExecutionEnvironment>::call;
  table.contextValidateBinary = Recorded<entry::contextValidateBinary, &Api::contextValidateBinary>::call;
  table.contextCreateFromBinaryWithSignal =
      Recorded<entry::contextCreateFromBinaryWithSignal, &Api::contextCreateFromBinaryWithSignal>::call;
  return table;
}

}  // namespace zeb
