#include "locals.h"

#include <charconv>

#include "ZebInterface.h"
#include "c_text.h"

namespace zeb::tool {
namespace {

struct TypeSize {
  std::string_view type;
  uint64_t bytes;
};

#define ZEB_TYPE_SIZE(type) {#type, sizeof(type)}

// Every type the recorder declares that is not a pointer, as it writes it.
constexpr TypeSize kTypeSizes[] = {
    ZEB_TYPE_SIZE(Zeb_BackendHandle_t), ZEB_TYPE_SIZE(Zeb_ContextHandle_t),
    ZEB_TYPE_SIZE(Zeb_DeviceHandle_t), ZEB_TYPE_SIZE(Zeb_ProfileHandle_t),
    ZEB_TYPE_SIZE(Zeb_GraphHandle_t), ZEB_TYPE_SIZE(Zeb_ContextBinarySize_t),
    ZEB_TYPE_SIZE(ZebDevice_Infrastructure_t), ZEB_TYPE_SIZE(ZebProfile_EventData_t),
    ZEB_TYPE_SIZE(ZebProfile_ExtendedEventData_t), ZEB_TYPE_SIZE(ZebBackend_Config_t),
    ZEB_TYPE_SIZE(ZebContext_Config_t), ZEB_TYPE_SIZE(ZebGraph_Config_t),
    ZEB_TYPE_SIZE(ZebProfile_Config_t), ZEB_TYPE_SIZE(ZebDevice_Config_t),
    ZEB_TYPE_SIZE(ZebDevice_CoreInfoV1_t), ZEB_TYPE_SIZE(ZebDevice_CoreInfo_t),
    ZEB_TYPE_SIZE(ZebDevice_HardwareDeviceInfoV1_t), ZEB_TYPE_SIZE(ZebDevice_HardwareDeviceInfo_t),
    ZEB_TYPE_SIZE(ZebDevice_PlatformInfoV1_t), ZEB_TYPE_SIZE(ZebDevice_PlatformInfo_t),
    ZEB_TYPE_SIZE(Zeb_ScaleOffset_t), ZEB_TYPE_SIZE(Zeb_AxisScaleOffset_t),
    ZEB_TYPE_SIZE(Zeb_BwAxisScaleOffset_t), ZEB_TYPE_SIZE(Zeb_QuantizeParams_t),
    ZEB_TYPE_SIZE(Zeb_ClientBuffer_t), ZEB_TYPE_SIZE(Zeb_TensorV1_t),
    ZEB_TYPE_SIZE(Zeb_TensorV2_t), ZEB_TYPE_SIZE(Zeb_Tensor_t), ZEB_TYPE_SIZE(Zeb_Scalar_t),
    ZEB_TYPE_SIZE(Zeb_Param_t), ZEB_TYPE_SIZE(Zeb_OpConfigV1_t), ZEB_TYPE_SIZE(Zeb_OpConfig_t),
    ZEB_TYPE_SIZE(int8_t), ZEB_TYPE_SIZE(int16_t), ZEB_TYPE_SIZE(int32_t),
    ZEB_TYPE_SIZE(int64_t), ZEB_TYPE_SIZE(uint8_t), ZEB_TYPE_SIZE(uint16_t),
    ZEB_TYPE_SIZE(uint32_t), ZEB_TYPE_SIZE(uint64_t), ZEB_TYPE_SIZE(float),
    ZEB_TYPE_SIZE(double),
};

#undef ZEB_TYPE_SIZE

bool isPointer(std::string_view type) {
  constexpr std::string_view kConstPointer = "* const";
  return (!type.empty() && type.back() == '*') ||
         (type.size() > kConstPointer.size() &&
          type.substr(type.size() - kConstPointer.size()) == kConstPointer);
}

uint64_t roundedUp(uint64_t bytes, uint64_t to) {
  return saturatingMultiply(saturatingAdd(bytes, to - 1) / to, to);
}

// The model header's own: the function table, and error, logLevel, logging,
// i, arg, value, fp, providerList, numProviders and loghandle.
const uint64_t kHeaderLocals = roundedUp(sizeof(ZEB_INTERFACE_VER_TYPE), 16) + 10 * 8;

uint64_t parsedCount(std::string_view digits) {
  uint64_t count = 0;
  for (const char c : digits) {
    count = saturatingAdd(saturatingMultiply(count, 10), static_cast<uint64_t>(c - '0'));
  }
  return count;
}

}  // namespace

Local takeApart(const Statement& statement, const Declared& declared) {
  Local local;
  local.declared = &declared;
  local.isStatic = startsWith(code(statement), "static ");
  const std::string_view text = statement.text;
  std::size_t at =
      static_cast<std::size_t>(declared.name.data() - text.data()) + declared.name.size();
  if (at < text.size() && text[at] == '[') {
    const std::size_t close = text.find(']', at);
    local.bound = text.substr(at + 1, close - at - 1);
    at = close + 1;
  }
  constexpr std::string_view kEquals = " = ";
  if (text.compare(at, kEquals.size(), kEquals) == 0) {
    local.initializer = text.substr(at + kEquals.size(), text.size() - at - kEquals.size() - 1);
  }
  return local;
}

const Statement& declaringStatement(const Block& block, const Recognised& recognised,
                                    const Declared& declared) {
  const std::size_t first = recognised.first;
  return block.statements[first + (declared.line - block.statements[first].line)];
}

uint64_t typeSize(std::string_view type) {
  if (isPointer(type)) return sizeof(void*);
  for (const TypeSize& known : kTypeSizes) {
    if (known.type == type) return known.bytes;
  }
  return 0;
}

uint64_t stackBytes(const Local& local) {
  if (local.isStatic) return 0;
  const uint64_t size = typeSize(local.declared->type);
  const uint64_t count = !local.declared->array ? 1
                         : local.bound.empty()   ? splitElements(local.initializer).size()
                                                 : parsedCount(local.bound);
  const uint64_t bytes = saturatingMultiply(size, count);
  return roundedUp(bytes, bytes >= 16 ? 16 : 8);  // x86-64 aligns 16 bytes or more to 16
}

ProgramSize measureProgram(const Recording& recording) {
  ProgramSize size;
  size.frameBytes = kHeaderLocals;
  for (const Block& block : recording.body.blocks) {
    for (const Statement& statement : block.statements) size.statements += !statement.text.empty();
    for (const Recognised& recognised : block.recognised) {
      for (const Declared& declared : recognised.declared) {
        const Local local = takeApart(declaringStatement(block, recognised, declared), declared);
        size.frameBytes = saturatingAdd(size.frameBytes, stackBytes(local));
      }
    }
  }
  return size;
}

std::string mebibytes(uint64_t bytes) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, static_cast<double>(bytes) / (1 << 20),
                                 std::chars_format::fixed, 1);
  return std::string(text, end.ptr) + " MiB";
}

}  // namespace zeb::tool
