// The canonical text of calls received by the echo backend: one line per call,
// independent of addresses and of who assigned handles and ids, so that the
// logs of a direct run and of a replayed recording can be compared line by line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "ZebInterface.h"

namespace zeb::echo {

// Log and signal handles are written as "-": the recorder replaces them by
// design, so they must not make lines differ.
enum class HandleKind : uint32_t { Backend, Context, Graph, Device, Profile, Mem, Log, Signal };
inline constexpr std::size_t kHandleKindCount = 8;

// Raw handles and tensor ids issued by the backend, numbered per kind in the
// order of issue ("context#2", "tensor#3").
class Ordinals {
 public:
  // Records a newly issued handle or id and returns its text.
  std::string addHandle(HandleKind kind, const void* handle);
  std::string addTensorId(uint32_t id);

  // "NULL" for a null handle, "unknown" for one never issued.
  std::string handle(HandleKind kind, const void* handle) const;
  // "id:<number>" for an id never assigned.
  std::string tensorId(uint32_t id) const;

 private:
  std::array<std::unordered_map<const void*, uint32_t>, kHandleKindCount> handles_;
  std::unordered_map<uint32_t, uint32_t> tensorIds_;
};

// One line: `call name=value ... -> result`. arg() opens an argument; the value
// writers append to it and write structures field by field.
class Line {
 public:
  Line(const Ordinals& ordinals, std::string_view call);

  Line& arg(std::string_view name);
  Line& result(std::string_view text);
  // The finished line with its line break.
  std::string finish() const { return out_ + "\n"; }

  Line& literal(std::string_view text);
  Line& output(const void* pointer);  // "out" or "NULL": answers are not logged
  Line& opaque(const void* pointer);  // "ptr" or "NULL": contents unknown to the API
  template <class Result, class... Args>
  Line& opaque(Result (*function)(Args...)) {
    return opaque(reinterpret_cast<const void*>(function));
  }
  Line& string(const char* text);
  Line& buffer(const void* data, uint64_t size);
  Line& handle(HandleKind kind, const void* handle);
  Line& tensorId(uint32_t id);

  template <class T>
  Line& number(T value) {
    if constexpr (std::is_enum_v<T>) {
      return integer(static_cast<int64_t>(value));
    } else if constexpr (std::is_floating_point_v<T>) {
      return real(value);
    } else if constexpr (std::is_signed_v<T>) {
      return integer(static_cast<int64_t>(value));
    } else {
      return unsignedInteger(static_cast<uint64_t>(value));
    }
  }

  Line& tensor(const Zeb_Tensor_t* tensor);
  Line& tensors(const Zeb_Tensor_t* tensors, uint32_t count);
  Line& tensorPointers(const Zeb_Tensor_t* const* tensors, uint32_t count);
  Line& memHandles(const Zeb_MemHandle_t* handles, uint32_t count);
  Line& opConfig(const Zeb_OpConfig_t& config);
  Line& platformInfo(const ZebDevice_PlatformInfo_t* info);
  Line& environment(const ZebGraph_ExecutionEnvironment_t* const* entries);

  Line& backendConfigs(const ZebBackend_Config_t* const* configs);
  Line& contextConfigs(const ZebContext_Config_t* const* configs);
  Line& graphConfigs(const ZebGraph_Config_t* const* configs);
  Line& deviceConfigs(const ZebDevice_Config_t* const* configs);
  Line& profileConfigs(const ZebProfile_Config_t* const* configs);

 private:
  Line& integer(int64_t value);
  Line& unsignedInteger(uint64_t value);
  Line& real(double value);
  Line& real(float value);

  // Opens a field of the structure or list being written: "name=".
  Line& key(std::string_view name);
  template <class T, class Each>
  void list(const T* items, std::size_t count, Each each);
  template <class T, class Each>
  void nullTerminated(const T* const* items, Each each);
  template <class Body>
  void tensorFields(const Body& body);

  void quantizeParams(const Zeb_QuantizeParams_t& params);
  void param(const Zeb_Param_t& param);
  void scalar(const Zeb_Scalar_t& scalar);
  void hardwareDevice(const ZebDevice_HardwareDeviceInfo_t& device);
  void core(const ZebDevice_CoreInfo_t& core);

  void backendConfig(const ZebBackend_Config_t& config);
  void contextConfig(const ZebContext_Config_t& config);
  void graphConfig(const ZebGraph_Config_t& config);
  void deviceConfig(const ZebDevice_Config_t& config);
  void profileConfig(const ZebProfile_Config_t& config);

  const Ordinals& ordinals_;
  std::string out_;
};

// 64-bit FNV-1a of a byte range: buffers are logged by size and hash.
uint64_t fnv1a(const void* data, uint64_t size);

}  // namespace zeb::echo
