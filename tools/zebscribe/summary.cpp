#include "summary.h"

#include <algorithm>
#include <map>

#include "recorded_statements.h"

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
  for (const Statement& statement : block.statements) {
    if (const auto read = dataRead(statement)) {
      bytes = saturatingAdd(bytes, saturatingMultiply(read->elementSize, read->elementCount));
    }
  }
  return bytes;
}

const Statement* declarationOf(const Block& block, const std::string& name) {
  for (const Statement& statement : block.statements) {
    const auto declared = declaration(statement);
    if (declared && declared->name == name) return &statement;
  }
  return nullptr;
}

// Data types encode their bit width in the low byte as two decimal digits
// (0x32 for 32 bits); 4-bit types travel as one byte per element.
std::optional<uint64_t> elementBytes(const Statement& tensor) {
  constexpr std::string_view kCast = "(Zeb_DataType_t)";
  const std::size_t at = tensor.text.find(kCast);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view rest = tensor.text.substr(at + kCast.size());
  const auto type = toNumber(rest.substr(0, rest.find(',')));
  if (!type) return std::nullopt;
  const uint64_t low = *type & 0xFF;
  const uint64_t bits = (low >> 4) * 10 + (low & 0xF);
  if (bits == 0 || *type > 0xFFFF) return std::nullopt;
  return std::max<uint64_t>(1, bits / 8);
}

// `uint32_t {tensor}_dims[] = {2, 3};`: 6 elements.
std::optional<uint64_t> elementCount(const Statement& dims) {
  const std::size_t open = dims.text.rfind('{');
  const std::size_t close = dims.text.rfind('}');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open)
    return std::nullopt;
  std::string_view list = dims.text.substr(open + 1, close - open - 1);
  uint64_t count = 1;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    std::string_view item = list.substr(0, comma);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    const auto value = toNumber(item);
    if (!value) return std::nullopt;
    count = saturatingMultiply(count, *value);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return count;
}

TensorSummary tensorOf(const Block& block) {
  TensorSummary tensor;
  std::string_view variable = lastArgument(block.callStatement());
  if (!variable.empty() && variable.front() == '&') variable.remove_prefix(1);
  tensor.variable = variable;
  tensor.dataBytes = blockDataBytes(block);
  const Statement* description = declarationOf(block, tensor.variable + "_v1");
  if (!description) description = declarationOf(block, tensor.variable + "_v2");
  const Statement* dims = declarationOf(block, tensor.variable + "_dims");
  if (!description) return tensor;
  if (!description->strings.empty()) tensor.name = description->strings.front();
  const auto size = elementBytes(*description);
  const auto count = dims ? elementCount(*dims) : std::nullopt;
  if (size && count) tensor.bytes = saturatingMultiply(*size, *count);
  return tensor;
}

std::string savedFile(const Block& block) {
  for (const Statement& statement : block.statements) {
    if (statement.text.find("fopen(") != std::string_view::npos && !statement.strings.empty()) {
      return std::string(statement.strings.front());
    }
  }
  return "";
}

void addHandles(const Block& block, std::map<std::string, std::vector<std::string>>& handles) {
  for (const Statement& statement : block.statements) {
    const auto declared = declaration(statement);
    if (!declared) continue;
    for (const auto& [type, kind] : kHandleKinds) {
      if (declared->type == type) handles[kind].emplace_back(declared->name);
    }
  }
}

void addBlock(const Block& block, Summary& summary) {
  const std::string_view member = *calledMember(block.callStatement());
  if (isOneOf(member, {"tensorCreateContextTensor", "tensorCreateGraphTensor"})) {
    summary.tensors.push_back(tensorOf(block));
  }
  if (isOneOf(member, {"contextCreateFromBinary", "contextCreateFromBinaryWithSignal",
                       "contextValidateBinary"})) {
    summary.binaries.push_back(
        {std::string(member), block.callStatement().line, blockDataBytes(block), ""});
  }
  if (member == "contextGetBinary") {
    summary.binaries.push_back(
        {std::string(member), block.callStatement().line, 0, savedFile(block)});
  }
  summary.nodes += member == "graphAddNode";
  summary.executions += isOneOf(member, {"graphExecute", "graphExecuteAsync"});
}

}  // namespace

Summary summarize(const Recording& recording) {
  Summary summary;
  std::map<std::string, std::size_t> calls;
  std::map<std::string, std::vector<std::string>> handles;
  for (const Block& block : recording.body.blocks) {
    ++calls[std::string(*calledMember(block.callStatement()))];
    addHandles(block, handles);
    addBlock(block, summary);
  }
  summary.calls.assign(calls.begin(), calls.end());
  for (const auto& [type, kind] : kHandleKinds) summary.handles.emplace_back(kind, handles[kind]);
  return summary;
}

}  // namespace zeb::tool
