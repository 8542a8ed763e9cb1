// Pass-through: a call, once recorded as it is without forwarding, is made
// again on the real backend, with the real backend's handles in place of the
// recorder's, and the client receives the real backend's answer. The recorder's
// lock is held while the call is recorded and while what the real call made
// is bound to the records, never while the real backend works.
#pragma once

#include <memory>
#include <mutex>
#include <tuple>
#include <type_traits>

#include "ZebInterface.h"
#include "ZebScribe.h"
#include "api/client_handle.h"
#include "log/logger.h"
#include "recorder/recorder.h"

namespace zeb::forward {

using Api = ZEB_INTERFACE_VER_TYPE;

// Where the records of a kind of handle keep the real backend's, and how the
// record of a creation the real backend refused is let go of. A device's is
// kept: device handles are never made again, so none could name it.
template <class Handle>
struct Kept;
template <>
struct Kept<Zeb_BackendHandle_t> {
  static constexpr auto real = &Recorder::realBackend;
  static constexpr bool forgets = true;
  static constexpr auto forget = &Recorder::forgetBackend;
};
template <>
struct Kept<Zeb_ContextHandle_t> {
  static constexpr auto real = &Recorder::realContext;
  static constexpr bool forgets = true;
  static constexpr auto forget = &Recorder::forgetContext;
};
template <>
struct Kept<Zeb_GraphHandle_t> {
  static constexpr auto real = &Recorder::realGraph;
  static constexpr bool forgets = true;
  static constexpr auto forget = &Recorder::forgetGraph;
};
template <>
struct Kept<Zeb_DeviceHandle_t> {
  static constexpr auto real = &Recorder::realDevice;
  static constexpr bool forgets = false;
};
template <>
struct Kept<Zeb_ProfileHandle_t> {
  static constexpr auto real = &Recorder::realProfile;
  static constexpr bool forgets = true;
  static constexpr auto forget = &Recorder::forgetProfile;
};

// An argument the real backend receives as the client gave it: data, and the
// handles the recorder never makes (log, signal, memory).
template <class T>
struct Passed {
  Passed(Recorder&, T value) : value(value) {}
  T real() const { return value; }
  void conclude(Recorder&, bool) {}
  T value;
};

// A handle of the recorder's: the real backend's takes its place (NULL for
// one that names no record).
template <class Handle>
struct RecordHandle {
  RecordHandle(Recorder& recorder, Handle handle) {
    const uint64_t* kept = (recorder.*Kept<Handle>::real)(handleValue(handle));
    value = clientHandle<Handle>(kept ? *kept : 0);
  }
  Handle real() const { return value; }
  void conclude(Recorder&, bool) {}
  Handle value;
};

// Where a creating call puts its new handle: the client holds the recorder's,
// whose record keeps the real backend's. A failed creation leaves it NULL, and
// lets go of the record unless it stood for a real object before.
template <class Handle>
struct NewHandle {
  NewHandle(Recorder&, Handle* client) : client(client) {}
  Handle* real() { return &made; }
  void conclude(Recorder& recorder, bool succeeded) {
    const uint64_t handle = handleValue(*client);
    uint64_t* kept = (recorder.*Kept<Handle>::real)(handle);
    if (!succeeded) *client = nullptr;
    if (kept == nullptr) return;
    if (succeeded) {
      *kept = handleValue(made);
    } else if (*kept == 0) {
      if constexpr (Kept<Handle>::forgets) (recorder.*Kept<Handle>::forget)(handle);
    }
  }
  Handle* client;
  Handle made = nullptr;
};

template <class T>
struct Argument : Passed<T> {
  using Passed<T>::Passed;
};
template <>
struct Argument<Zeb_BackendHandle_t> : RecordHandle<Zeb_BackendHandle_t> {
  using RecordHandle::RecordHandle;
};
template <>
struct Argument<Zeb_ContextHandle_t> : RecordHandle<Zeb_ContextHandle_t> {
  using RecordHandle::RecordHandle;
};
template <>
struct Argument<Zeb_GraphHandle_t> : RecordHandle<Zeb_GraphHandle_t> {
  using RecordHandle::RecordHandle;
};
template <>
struct Argument<Zeb_DeviceHandle_t> : RecordHandle<Zeb_DeviceHandle_t> {
  using RecordHandle::RecordHandle;
};
template <>
struct Argument<Zeb_ProfileHandle_t> : RecordHandle<Zeb_ProfileHandle_t> {
  using RecordHandle::RecordHandle;
};
template <>
struct Argument<Zeb_BackendHandle_t*> : NewHandle<Zeb_BackendHandle_t> {
  using NewHandle::NewHandle;
};
template <>
struct Argument<Zeb_ContextHandle_t*> : NewHandle<Zeb_ContextHandle_t> {
  using NewHandle::NewHandle;
};
template <>
struct Argument<Zeb_GraphHandle_t*> : NewHandle<Zeb_GraphHandle_t> {
  using NewHandle::NewHandle;
};
template <>
struct Argument<Zeb_DeviceHandle_t*> : NewHandle<Zeb_DeviceHandle_t> {
  using NewHandle::NewHandle;
};
template <>
struct Argument<Zeb_ProfileHandle_t*> : NewHandle<Zeb_ProfileHandle_t> {
  using NewHandle::NewHandle;
};

// The real backend's answer; 1000 when it has no function in that slot.
template <class Function, class Arguments>
Zeb_ErrorHandle_t callReal(Function function, Arguments& arguments) {
  if (function == nullptr) return ZEB_COMMON_ERROR_NOT_SUPPORTED;
  return std::apply([&](auto&... each) { return function(each.real()...); }, arguments);
}

template <auto A, auto B>
constexpr bool sameMember() {
  if constexpr (std::is_same_v<decltype(A), decltype(B)>) {
    return A == B;
  } else {
    return false;
  }
}

// The tensor id the recorder registered a new tensor under stands in until
// the real backend gives its own.
struct StandInId {
  std::shared_ptr<ScribeContext> context;
  uint32_t id = 0;
};
uint32_t& tensorId(Zeb_Tensor_t& tensor);
uint32_t tensorId(const Zeb_Tensor_t& tensor);
StandInId standInId(Recorder& recorder, Zeb_ContextHandle_t context, const Zeb_Tensor_t& tensor);
StandInId standInId(Recorder& recorder, Zeb_GraphHandle_t graph, const Zeb_Tensor_t& tensor);
void bindTensorId(const StandInId& standIn, const Zeb_Tensor_t& tensor, bool succeeded);

// tensorCreateContextTensor and tensorCreateGraphTensor: the real backend sees
// the id the client passed, and the client receives the real backend's.
template <auto Record, auto Member, class Owner>
Zeb_ErrorHandle_t createdTensor(Recorder& recorder, Owner owner, Zeb_Tensor_t* tensor) {
  std::unique_lock<std::recursive_mutex> lock(recorder.callMutex());
  std::tuple<Argument<Owner>, Passed<Zeb_Tensor_t*>> real{{recorder, owner}, {recorder, tensor}};
  const uint32_t given = tensor != nullptr ? tensorId(*tensor) : 0;
  const Zeb_ErrorHandle_t code = Record(recorder, owner, tensor);
  if (code != ZEB_SUCCESS) return code;
  const StandInId standIn = standInId(recorder, owner, *tensor);
  tensorId(*tensor) = given;
  const auto function = recorder.forwardTarget().api().*Member;
  lock.unlock();
  const Zeb_ErrorHandle_t answer = callReal(function, real);
  lock.lock();
  bindTensorId(standIn, *tensor, answer == ZEB_SUCCESS);
  return answer;
}

// A recording entry point's call, which Record records as it does without
// forwarding (taking the recorder's lock again). One that the recorder refuses,
// or fails to record, is not made on the real backend and keeps the recorder's
// answer.
template <auto Record, auto Member, class... Arguments>
ZEB_NEVER_INLINE Zeb_ErrorHandle_t recorded(Recorder& recorder, Arguments... arguments) {
  if constexpr (sameMember<Member, &Api::tensorCreateContextTensor>() ||
                sameMember<Member, &Api::tensorCreateGraphTensor>()) {
    return createdTensor<Record, Member>(recorder, arguments...);
  } else {
    std::unique_lock<std::recursive_mutex> lock(recorder.callMutex());
    // Before the recording, which lets go of the records of freed objects.
    std::tuple<Argument<Arguments>...> real{Argument<Arguments>(recorder, arguments)...};
    const Zeb_ErrorHandle_t code = Record(recorder, arguments...);
    if (code != ZEB_SUCCESS && code != ZEB_SCRIBE_QUERY_RECORDED) return code;
    const auto function = recorder.forwardTarget().api().*Member;
    lock.unlock();
    const Zeb_ErrorHandle_t answer = callReal(function, real);
    lock.lock();
    std::apply([&](auto&... each) { (each.conclude(recorder, answer == ZEB_SUCCESS), ...); }, real);
    return answer;
  }
}

// A call the recorder answers itself and never records: the real backend
// answers it, once the recorder has started (Starts: as its own answer would
// start it) or else once the backend to forward to is loaded.
template <auto Member, bool Starts, class... Arguments>
ZEB_NEVER_INLINE Zeb_ErrorHandle_t answered(Recorder& recorder, Arguments... arguments) {
  std::unique_lock<std::recursive_mutex> lock(recorder.callMutex());
  if (Zeb_ErrorHandle_t code = Starts ? recorder.start() : recorder.prepareForwarding())
    return code;
  std::tuple<Argument<Arguments>...> real{Argument<Arguments>(recorder, arguments)...};
  const auto function = recorder.forwardTarget().api().*Member;
  lock.unlock();
  return callReal(function, real);
}

// The log family: the recorder's own logger as without forwarding, which its
// messages go through, and the real backend's, which the client's handle
// names and which the real backend's messages go through.
template <auto Entry, auto Member, class... Arguments>
Zeb_ErrorHandle_t logged(Recorder& recorder, Arguments... arguments) {
  const Zeb_ErrorHandle_t own = Entry(arguments...);
  if (own != ZEB_SUCCESS) return own;
  const Zeb_ErrorHandle_t answer = answered<Member, false>(recorder, arguments...);
  // The client, told that no logger was made, would never free it.
  if (sameMember<Member, &Api::logCreate>() && answer != ZEB_SUCCESS) log::release();
  return answer;
}

}  // namespace zeb::forward
