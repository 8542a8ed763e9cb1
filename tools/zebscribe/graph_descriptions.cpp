#include "graph_descriptions.h"

#include <charconv>

#include "recorded_statements.h"

namespace zeb::tool {
namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr int64_t kUndefinedEncoding = 2147483647;

struct DataType {
  uint32_t value;
  const char* name;
  uint32_t bits;
};

constexpr DataType kDataTypes[] = {
    {0x0008, "int8", 8},      {0x0016, "int16", 16},    {0x0032, "int32", 32},
    {0x0064, "int64", 64},    {0x0108, "uint8", 8},     {0x0116, "uint16", 16},
    {0x0132, "uint32", 32},   {0x0164, "uint64", 64},   {0x0216, "float16", 16},
    {0x0232, "float32", 32},  {0x0264, "float64", 64},  {0x0304, "sfixed4", 4},
    {0x0308, "sfixed8", 8},   {0x0316, "sfixed16", 16}, {0x0332, "sfixed32", 32},
    {0x0404, "ufixed4", 4},   {0x0408, "ufixed8", 8},   {0x0416, "ufixed16", 16},
    {0x0432, "ufixed32", 32}, {0x0508, "bool8", 8},     {0x0608, "string", 8},
};

const DataType* findDataType(uint32_t value) {
  for (const DataType& type : kDataTypes) {
    if (type.value == value) return &type;
  }
  return nullptr;
}

// The whole text as a decimal number of that type.
template <class Number>
std::optional<Number> wholeNumber(std::string_view text) {
  Number value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}
std::optional<int64_t> signedNumber(std::string_view text) { return wholeNumber<int64_t>(text); }
std::optional<uint64_t> unsignedNumber(std::string_view text) { return wholeNumber<uint64_t>(text); }

// `(Zeb_DataType_t)562` gives 562.
std::optional<int64_t> castValue(std::string_view field) {
  const std::size_t close = field.rfind(')');
  return signedNumber(close == kNone ? field : field.substr(close + 1));
}

uint32_t enumeration(const std::vector<Field>& fields, std::size_t index) {
  const auto value = index < fields.size() ? castValue(fields[index].text) : std::nullopt;
  return value ? static_cast<uint32_t>(*value) : 0;
}

// `.member = value` gives "value".
std::string_view assigned(std::string_view field) {
  const std::size_t equals = field.find("= ");
  return equals == kNone ? field : field.substr(equals + 2);
}

// The items of `{a, b, c}`.
std::vector<std::string_view> bracedItems(std::string_view text) {
  std::vector<std::string_view> items;
  if (text.size() < 2 || text.front() != '{' || text.back() != '}') return items;
  text = text.substr(1, text.size() - 2);
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    std::string_view item = text.substr(0, comma);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    items.push_back(item);
    text = comma == kNone ? std::string_view() : text.substr(comma + 1);
  }
  return items;
}

std::vector<Field> fieldsOf(const Declarations& declarations, std::string_view name) {
  const Statement* statement = declarations.find(name);
  return statement ? initializerFields(*statement) : std::vector<Field>();
}

std::string item(const std::vector<std::string_view>& items, std::size_t index) {
  return index < items.size() ? std::string(items[index]) : "?";
}

std::string item(const std::vector<Field>& fields, std::size_t index) {
  return index < fields.size() ? std::string(fields[index].text) : "?";
}

std::string quantization(const Declarations& declarations, std::string_view name) {
  const std::vector<Field> fields = fieldsOf(declarations, name);
  if (fields.size() < 3) return "";
  const std::optional<int64_t> encoding = castValue(fields[1].text);
  const std::string_view value = assigned(fields[2].text);
  if (!encoding || *encoding == kUndefinedEncoding) return "";
  switch (*encoding) {
    case 0: {
      const auto items = bracedItems(value);
      return "scale " + item(items, 0) + ", offset " + item(items, 1);
    }
    case 1: {
      const auto axis = fieldsOf(declarations, value);
      return "axis " + item(axis, 0) + ", " + item(axis, 1) + " scale-offset pairs";
    }
    case 2: {
      const auto items = bracedItems(value);
      return item(items, 0) + "-bit, scale " + item(items, 1) + ", offset " + item(items, 2);
    }
    case 3: {
      const auto axis = fieldsOf(declarations, value);
      return item(axis, 0) + "-bit, axis " + item(axis, 1) + ", " + item(axis, 2) + " scales";
    }
  }
  return "encoding " + std::to_string(*encoding);
}

std::optional<std::vector<uint64_t>> dimensions(const Declarations& declarations,
                                                std::string_view name) {
  const Statement* statement = declarations.find(name);
  if (!statement) return std::nullopt;
  std::vector<uint64_t> values;
  for (const Field& field : initializerFields(*statement)) {
    const auto value = unsignedNumber(field.text);
    if (!value) return std::nullopt;
    values.push_back(*value);
  }
  return values;
}

std::optional<uint64_t> computedBytes(const GraphTensor& tensor) {
  const DataType* type = findDataType(tensor.dataType);
  if (!type || !tensor.dimensions) return std::nullopt;
  uint64_t elements = 1;
  for (const uint64_t dimension : *tensor.dimensions)
    elements = saturatingMultiply(elements, dimension);
  const uint64_t bits = saturatingMultiply(elements, type->bits);
  return bits / 8 + (bits % 8 != 0);  // 4-bit elements pack two to a byte
}

// `{(void*)X_data, 432}` hands in 432 bytes; `{NULL, 0}` none.
std::optional<uint64_t> handedBytes(const Declarations& declarations, std::string_view name) {
  const std::vector<Field> fields = fieldsOf(declarations, name);
  if (fields.size() != 2 || fields[0].text == "NULL") return std::nullopt;
  return unsignedNumber(fields[1].text);
}

// Skips the literal that opens at text[at]; returns where it closed, or kNone.
std::size_t pastLiteral(const Statement& statement, std::size_t at, std::size_t& next) {
  const char* start = statement.text.data() + at + 1;
  while (next < statement.strings.size() && statement.strings[next].data() < start) ++next;
  if (next == statement.strings.size() || statement.strings[next].data() != start) return kNone;
  const std::string_view literal = statement.strings[next++];
  return static_cast<std::size_t>(literal.data() + literal.size() - statement.text.data()) + 1;
}

std::string scalarValue(const Declarations& declarations, std::string_view name) {
  const std::vector<Field> fields = fieldsOf(declarations, name);
  if (fields.size() < 2) return "?";
  return std::string(assigned(fields[1].text)) + " (" + dataTypeName(enumeration(fields, 0)) + ")";
}

}  // namespace

// Only what the recogniser knows: a doctored block may declare names otherwise.
Declarations::Declarations(const Block& block) {
  for (const Recognised& statement : block.recognised) {
    for (const Declared& declared : statement.declared)
      byName_.emplace(declared.name, &block.statements[statement.first]);
  }
}

const Statement* Declarations::find(std::string_view name) const {
  const auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : found->second;
}

std::vector<Field> initializerFields(const Statement& statement) {
  const std::string_view text = statement.text;
  std::size_t at = text.find(" = {");
  std::vector<Field> fields;
  if (at == kNone) return fields;
  at += 4;
  std::size_t next = 0;  // the first string literal not yet passed
  while (at < text.size() && text[at] != '}') {
    const std::size_t begin = at;
    int depth = 0;
    while (at < text.size() && (depth > 0 || (text[at] != ',' && text[at] != '}'))) {
      if (text[at] == '"') {
        at = pastLiteral(statement, at, next);
        if (at == kNone) return fields;
        continue;
      }
      depth += text[at] == '{' ? 1 : text[at] == '}' ? -1 : 0;
      ++at;
    }
    const std::string_view field = text.substr(begin, at - begin);
    const bool literal = field.size() >= 2 && field.front() == '"' && field.back() == '"';
    fields.push_back({literal ? field.substr(1, field.size() - 2) : field, literal});
    if (at < text.size() && text[at] == ',') ++at;
    while (at < text.size() && text[at] == ' ') ++at;
  }
  return fields;
}

std::optional<TensorDescription> readTensor(const Declarations& declarations,
                                            std::string_view base) {
  const std::string name(base);
  std::vector<Field> fields = fieldsOf(declarations, name + "_v1");
  if (fields.empty()) fields = fieldsOf(declarations, name + "_v2");
  if (fields.size() < 10) return std::nullopt;
  TensorDescription description;
  GraphTensor& tensor = description.tensor;
  description.id = fields[0].text;
  tensor.variable = name;
  if (fields[1].literal) tensor.name = fields[1].text;
  tensor.type = enumeration(fields, 2);
  tensor.dataType = enumeration(fields, 4);
  tensor.quantization = quantization(declarations, fields[5].text);
  if (fields[7].text != "NULL") tensor.dimensions = dimensions(declarations, fields[7].text);
  tensor.bytes = handedBytes(declarations, fields[9].text);
  if (!tensor.bytes) tensor.bytes = computedBytes(tensor);
  return description;
}

std::vector<GraphParam> readParams(const Declarations& declarations, std::string_view op) {
  std::vector<GraphParam> params;
  for (const Field& param : fieldsOf(declarations, std::string(op) + "_params")) {
    const std::vector<Field> fields = fieldsOf(declarations, param.text);
    if (fields.size() < 3) continue;
    GraphParam read;
    if (fields[1].literal) read.name = fields[1].text;
    const std::string value(assigned(fields[2].text));
    if (enumeration(fields, 0) == 0) {
      read.value = scalarValue(declarations, value);
    } else if (const auto tensor = readTensor(declarations, value)) {
      const auto& bytes = tensor->tensor.bytes;
      read.value = "tensor " + tensorSummary(tensor->tensor) +
                   (bytes ? ", " + std::to_string(*bytes) + " bytes" : "");
    }
    params.push_back(std::move(read));
  }
  return params;
}

std::string dataTypeName(uint32_t dataType) {
  const DataType* type = findDataType(dataType);
  return type ? type->name : "type " + std::to_string(dataType);
}

}  // namespace zeb::tool
