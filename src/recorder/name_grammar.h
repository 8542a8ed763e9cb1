// The grammar of the written program's variable names, read backwards: of
// which name a variable is a part, and which part. Every name the recorder
// makes is a record's name, a name numbered by a counter, or one of those
// followed by the fixed suffixes of its parts (`_dims`, `_v1`, `_input_2`,
// ...); only the identifiers made from a client's graph and node names are
// free text, and they are what these readers are for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "recorder/name_claims.h"

namespace zeb::names {

// A name that a counter numbered: `{prefix}_{number}`, the number written as
// the counters write it (no leading zero, at most 32 bits).
struct Numbered {
  std::string_view prefix;
  uint32_t number;
};
std::optional<Numbered> splitNumber(std::string_view name);

// name without its suffix; nothing when it does not end so.
std::optional<std::string_view> withoutSuffix(std::string_view name, std::string_view suffix);

// Calls visit(base, claim) for name itself (a whole claim) and for every name
// of which name could be a part: `x_0_input_2_dims` is a part of the tensor
// `x_0_input_2`, which is the input 2 of the op configuration `x_0`.
template <class Visit>
void forEachBaseOf(std::string_view name, const Visit& visit);

// Where a prefix of numbered names (a node's `{graph}_{identifier}`, a
// validated op's identifier) reaches into names made another way.
struct Reach {
  enum class Kind : uint8_t {
    none,
    graphTensor,      // `{graph}_tensor`: the graph's tensors
    executionArray,   // `{graph}_inputTensors`, `{graph}_outputTensors`
    executionTensor,  // `{graph}_inputTensor_{e}`, `{graph}_outputTensor_{e}`
    element,          // `{op}_param`, `{op}_input`, `{op}_output` of a numbered op
  };
  Kind kind = Kind::none;
  std::string_view owner;  // the graph, or the op configuration
  uint32_t execution = 0;
  ClaimedPart part = ClaimedPart::whole;  // of an element
};
Reach reachOf(std::string_view prefix);

// A first look, a few instructions long, that rules out reachOf finding
// anything for nearly every identifier.
inline bool mayReach(std::string_view prefix) {
  const std::size_t size = prefix.size();
  if (size < 8) return false;
  const auto endsWith = [&](const char* tail, std::size_t length) {
    return std::char_traits<char>::compare(prefix.data() + size - length, tail, length) == 0;
  };
  switch (prefix[size - 1]) {
    case 'r': return endsWith("_tensor", 7);
    case 's': return endsWith("Tensors", 7);
    case 'm': return endsWith("_param", 6);
    case 't': return endsWith("_input", 6) || endsWith("output", 6);
    default: break;
  }
  std::size_t digits = size - 1;  // `_inputTensor_{e}`
  while (digits > 1 && prefix[digits] >= '0' && prefix[digits] <= '9') --digits;
  return digits < size - 1 && prefix[digits] == '_' && prefix[digits - 1] == 'r';
}

// Whether the names numbered from prefix, `{prefix}_{n}`, lie among the names
// derived from a record's (`context_7_...`, `device_0_...`, `profile_2_...`,
// `backend_1_...`), whether that record exists or not.
bool numbersInRecordNames(std::string_view prefix);

namespace detail {

// The words of an op configuration's elements, `{op}_{word}_{i}`.
inline constexpr std::pair<std::string_view, ClaimedPart> kElements[] = {
    {"_param", ClaimedPart::param}, {"_input", ClaimedPart::input}, {"_output", ClaimedPart::output}};

// Visits the op configuration of which x is an element (`{op}_input_{i}`), or
// the parameter's tensor or scalar (`{op}_param_{i}_tensor`).
template <class Visit>
void visitElementOwner(std::string_view x, const Visit& visit) {
  if (const auto element = splitNumber(x)) {
    for (const auto& [word, part] : kElements)
      if (const auto op = withoutSuffix(element->prefix, word))
        visit(*op, Claim{part, element->number});
  }
  for (const std::string_view valuePart : {"_tensor", "_scalar"}) {
    const auto value = withoutSuffix(x, valuePart);
    const auto param = value ? splitNumber(*value) : std::nullopt;
    const auto op = param ? withoutSuffix(param->prefix, "_param") : std::nullopt;
    if (op) visit(*op, Claim{ClaimedPart::param, param->number});
  }
}

}  // namespace detail

template <class Visit>
void forEachBaseOf(std::string_view name, const Visit& visit) {
  static constexpr std::string_view kTensorParts[] = {"_dims",
                                                      "_quantizeParams",
                                                      "_quantizeParams_scaleOffsets",
                                                      "_quantizeParams_axisScaleOffset",
                                                      "_quantizeParams_bwAxisScaleOffset",
                                                      "_quantizeParams_bwAxisScaleOffset_scales",
                                                      "_quantizeParams_bwAxisScaleOffset_offsets",
                                                      "_clientBuf",
                                                      "_data",
                                                      "_isDynamicDimensions",
                                                      "_v1",
                                                      "_v2"};
  static constexpr std::string_view kOpParts[] = {"_params", "_inputs", "_outputs", "_v1"};
  visit(name, Claim{ClaimedPart::whole});
  detail::visitElementOwner(name, visit);
  for (const std::string_view part : kTensorParts) {
    if (const auto tensor = withoutSuffix(name, part)) {
      visit(*tensor, Claim{ClaimedPart::tensorPart});
      detail::visitElementOwner(*tensor, visit);
    }
  }
  for (const std::string_view part : kOpParts)
    if (const auto op = withoutSuffix(name, part)) visit(*op, Claim{ClaimedPart::opPart});
  if (const auto config = withoutSuffix(name, "_array")) visit(*config, Claim{ClaimedPart::array});
}

}  // namespace zeb::names
