#include "summary.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace zeb::tool {
namespace {

constexpr std::pair<const char*, const char*> kHandleKinds[] = {
    {"Zeb_BackendHandle_t", "backends"}, {"Zeb_DeviceHandle_t", "devices"},
    {"Zeb_ContextHandle_t", "contexts"}, {"Zeb_ProfileHandle_t", "profiles"},
    {"Zeb_GraphHandle_t", "graphs"},
};

bool isOneOf(std::string_view member, std::initializer_list<std::string_view> members) {
  return std::find(members.begin(), members.end(), member) != members.end();
}

uint64_t blockDataBytes(const Block& block) {
  uint64_t bytes = 0;
  for (const Recognised& statement : block.recognised) {
    bytes = saturatingAdd(bytes, statement.bytesRead);
  }
  return bytes;
}

// The statement of the block that declares `name` in a shape starting with
// `type`; a doctored block may declare it otherwise.
const Recognised* declarationOf(const Block& block, const std::string& name, std::string_view type) {
  for (const Recognised& statement : block.recognised) {
    for (const Declared& declared : statement.declared) {
      if (declared.name == name && startsWith(statement.shape->pattern, type)) return &statement;
    }
  }
  return nullptr;
}

std::optional<uint64_t> number(std::string_view text) {
  uint64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

// Data types encode their bit width in the low byte as two decimal digits
// (0x32 for 32 bits); 4-bit types travel as one byte per element.
std::optional<uint64_t> elementBytes(std::string_view dataType) {
  const auto type = number(dataType);
  if (!type || *type > 0xFFFF) return std::nullopt;
  const uint64_t low = *type & 0xFF;
  const uint64_t bits = (low >> 4) * 10 + (low & 0xF);
  if (bits == 0) return std::nullopt;
  return std::max<uint64_t>(1, bits / 8);
}

// The product of a list of dimensions, "2, 3": 6.
std::optional<uint64_t> elementCount(std::string_view list) {
  uint64_t count = 1;
  while (!list.empty()) {
    const std::size_t comma = std::min(list.find(", "), list.size());
    const auto value = number(list.substr(0, comma));
    if (!value) return std::nullopt;
    count = saturatingMultiply(count, *value);
    list.remove_prefix(std::min(comma + 2, list.size()));
  }
  return count;
}

// The holes of a tensor's body, `Zeb_TensorV1_t $name = {$tid, $s, ..., $u, $id, ...}`.
constexpr std::size_t kBodyName = 2, kBodyDataType = 5, kBodyDimensions = 8;

TensorSummary tensorOf(const Block& block, const Recognised& call) {
  TensorSummary tensor;
  tensor.variable = call.holes.back();
  tensor.dataBytes = blockDataBytes(block);
  const Recognised* body = declarationOf(block, tensor.variable + "_v1", "Zeb_TensorV1_t ");
  if (!body) body = declarationOf(block, tensor.variable + "_v2", "Zeb_TensorV2_t ");
  if (!body) return tensor;
  const std::string_view name = body->holes[kBodyName];
  if (name != "NULL") tensor.name = name.substr(1, name.size() - 2);
  const Recognised* dims = declarationOf(block, std::string(body->holes[kBodyDimensions]), "uint32_t $name[]");
  const auto size = elementBytes(body->holes[kBodyDataType]);
  const auto count = dims ? elementCount(dims->holes[1]) : std::nullopt;
  if (size && count) tensor.bytes = saturatingMultiply(*size, *count);
  return tensor;
}

void addHandles(const Block& block, std::map<std::string, std::vector<std::string>>& handles) {
  for (const Recognised& statement : block.recognised) {
    for (const Declared& declared : statement.declared) {
      for (const auto& [type, kind] : kHandleKinds) {
        if (declared.type == type) handles[kind].emplace_back(declared.name);
      }
    }
  }
}

void addCall(const Block& block, const Recognised& call, Summary& summary) {
  const std::string_view member = call.member;
  const std::size_t line = block.statements[call.first].line;
  if (isOneOf(member, {"tensorCreateContextTensor", "tensorCreateGraphTensor"})) {
    summary.tensors.push_back(tensorOf(block, call));
  }
  if (isOneOf(member, {"contextCreateFromBinary", "contextCreateFromBinaryWithSignal",
                       "contextValidateBinary"})) {
    summary.binaries.push_back({std::string(member), line, blockDataBytes(block), ""});
  }
  // The program saves the binary to {context}.bin.
  if (member == "contextGetBinary") {
    summary.binaries.push_back({std::string(member), block.statements[call.first + 1].line, 0,
                                std::string(call.holes[2]) + ".bin"});
  }
  summary.nodes += member == "graphAddNode";
  summary.executions += member == "graphExecute";
}

}  // namespace

Summary summarize(const Recording& recording) {
  Summary summary;
  std::map<std::string, std::size_t> calls;
  std::map<std::string, std::vector<std::string>> handles;
  for (const Block& block : recording.body.blocks) {
    addHandles(block, handles);
    for (const Recognised& statement : block.recognised) {
      if (statement.member.empty()) continue;
      ++calls[std::string(statement.member)];
      addCall(block, statement, summary);
    }
  }
  summary.calls.assign(calls.begin(), calls.end());
  for (const auto& [type, kind] : kHandleKinds) summary.handles.emplace_back(kind, handles[kind]);
  return summary;
}

}  // namespace zeb::tool
