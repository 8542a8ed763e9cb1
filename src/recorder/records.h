// Recorder-side records that stand for the handles given to the client.
#pragma once

#include <cstdint>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ZebInterface.h"
#include "recorder/name_claims.h"
#include "recorder/name_counters.h"
#include "recorder/name_grammar.h"
#include "recorder/text_arena.h"

namespace zeb {

class ScribeContext;

// Variable names of the tensors created in one context or graph:
// `{owner}_tensor_{n}`. They never move, so the context's id map can refer
// to them.
class TensorNames {
 public:
  std::string_view next(std::string_view owner);
  // The same, passing over the names taken(name) reports as taken.
  template <class Taken>
  std::string_view next(std::string_view owner, const Taken& taken) {
    std::string_view name = next(owner);
    while (taken(name)) name = next(owner);
    return name;
  }
  // How many names have been handed out: `{owner}_tensor_0` to one less.
  uint32_t count() const { return counter_; }

 private:
  uint32_t counter_ = 0;
  TextArena names_;
};

// The variables of the tensors registered in a context, by id. Kept sorted in
// one array: ids come from a counter that only grows, so a new one goes at the
// end, with no node to allocate and no tree to walk.
class TensorIds {
 public:
  // False, and nothing entered, when id is taken.
  bool insert(uint32_t id, std::string_view variable);
  // Empty when no variable is registered under id.
  std::string_view find(uint32_t id) const;
  // Takes id's entry out: its variable, or empty when it has none.
  std::string_view take(uint32_t id);

 private:
  using Entry = std::pair<uint32_t, std::string_view>;
  std::vector<Entry>::const_iterator lowerBound(uint32_t id) const;

  std::vector<Entry> entries_;
};

// The client's names of the tensors registered in a context, one after the
// other in one text: only a registration that meets a taken id reads them, to
// tell a duplicated name from an id collision.
class ClientNames {
 public:
  void add(std::string_view name);
  bool contains(std::string_view name) const;

 private:
  std::string texts_;  // each name followed by '\0', which no C string holds
};

// The words of the names a context derives for its own configurations,
// `{context}_{word}_{n}`: each word counts on its own.
enum class ContextWord {
  config,
  customConfig,
  priority,
  errorConfig,
  oemString,
  asyncExeQueueDepth,
  enableGraphs,
  memoryLimitHint,
  isPersistentBinary,
  count
};
inline constexpr std::string_view kContextWords[] = {
    "config",       "customConfig",    "priority",
    "errorConfig",  "oemString",       "asyncExeQueueDepth",
    "enableGraphs", "memoryLimitHint", "isPersistentBinary"};

// Likewise for devices, `{device}_{word}_{n}`, and profiles.
enum class DeviceWord { config, hardwareInfo, customConfig, count };
enum class ProfileWord { config, maxEvents, customConfig, count };

// One counter per word of an owner's fixed list.
template <class Word>
struct WordCounters {
  uint32_t& operator[](Word word) { return values[static_cast<std::size_t>(word)]; }
  uint32_t operator[](Word word) const { return values[static_cast<std::size_t>(word)]; }
  std::array<uint32_t, static_cast<std::size_t>(Word::count)> values{};
};

class ScribeGraph {
 public:
  ScribeGraph(ScribeContext* context, std::string name, std::string graphName)
      : context(context), name(std::move(name)), graphName(std::move(graphName)) {}

  ScribeContext* const context;
  const std::string name;       // variable name in the written program
  const std::string graphName;  // the client's name as given
  int32_t executionCounter = 0;
  uint64_t real = 0;  // the real backend's handle, when forwarding
  // Whether a written block declares the graph's variable.
  bool declared = false;
  // Whether names claimed ahead may meet the graph's tensors or executions.
  bool namesClaimed = false;

  std::string_view newTensorName() {
    return namesClaimed ? newUnclaimedTensorName() : tensorNames_.next(name);
  }
  uint32_t tensorCount() const { return tensorNames_.count(); }
  Zeb_ErrorHandle_t registerTensor(Zeb_Tensor_t& tensor, std::string_view variable);
  std::string_view findTensorName(uint32_t id) const;

 private:
  ZEB_NEVER_INLINE std::string_view newUnclaimedTensorName();

  TensorNames tensorNames_;
};

// What a context gathers once graphs or tensors are made in it.
struct ContextContents {
  // The graphs by the variable name their client's name makes, which refuses
  // a second graph of that name; the first one made under it.
  std::map<std::string, ScribeGraph*, std::less<>> graphNames;
  // Graphs whose variable is another, as that name was taken.
  std::map<std::string, ScribeGraph*, std::less<>> renamedGraphs;
  // Numbers the names derived from the context's graphs (whose names derive
  // from the context's): they go when the context goes.
  NameCounters graphDerivedNames;
  std::unordered_map<uint64_t, std::shared_ptr<ScribeGraph>> graphs;
  TensorNames tensorNames;
  ClientNames tensorClientNames;
  TensorIds tensorIds;
  // Made once a graph or node takes names ahead of the context's own.
  std::unique_ptr<NameClaims> claims;
  // Graphs the real backend refused, kept for the names that point at them.
  std::vector<std::shared_ptr<ScribeGraph>> retiredGraphs;
};

// The variables of a context's binary queries, and of the binary it was made
// from: empty until a written block declares them.
struct BinaryVariables {
  std::string size;  // receives the binary's size, which later queries pass
  std::string writtenSize;
  std::string buffer;
  std::string file;
  std::string binary;
};

class ScribeContext {
 public:
  explicit ScribeContext(std::string name) : name(std::move(name)) {}

  const std::string name;  // variable name in the written program
  uint64_t real = 0;       // the real backend's handle, when forwarding
  // Numbers the names derived from the context's own configurations.
  WordCounters<ContextWord> wordCounters;
  // Whether names claimed ahead may meet the context's configurations or tensors.
  bool ownNamesClaimed = false;

  // Context binaries: made by the first block that declares one.
  BinaryVariables& binaryVariables();
  const BinaryVariables* binaryVariablesIfAny() const { return binaryVariables_.get(); }
  // `{context}_{word}`, or that with a suffix when a graph holds it.
  std::string binaryVariableName(std::string_view word) const;

  // Tensors of the context and of all its graphs. Registration gives the
  // client's tensor the next process-wide id; 7003 or 7006 when that id is
  // already taken in this context.
  std::string_view newTensorName() {
    return ownNamesClaimed ? newUnclaimedTensorName() : contents().tensorNames.next(name);
  }
  Zeb_ErrorHandle_t registerTensor(Zeb_Tensor_t& tensor, std::string_view variable);
  // The variable of the tensor registered under id; empty when none is.
  std::string_view findTensorName(uint32_t id) const;

  // Whether a graph's client name made that name, `{context}_{identifier}`,
  // whichever variable the graph took: a second graph of it is refused.
  bool hasGraphVariable(const std::string& variableName) const;
  // name holds a prefix derived from a graph's name (`{graph}_config`):
  // appends its next number.
  void numberGraphDerivedName(TextBuffer& name);
  // name holds a node's `{graph}_{identifier}`: appends its next number, or
  // changes it where its variables would meet others.
  void numberNode(TextBuffer& name, const NameShape& shape);
  // Whether a claim holds a variable that a name of that shape declares.
  bool claimedAhead(std::string_view name, const NameShape& shape) const;
  // name ends with counter's last number: moves it on past claimed names.
  void passClaimed(TextBuffer& name, uint32_t& counter, const NameShape& shape) const;
  // Creates a graph record under a new handle; 0 on failure. Its variable is
  // candidate, `{context}_{identifier}`, unless that would meet another
  // name: then a suffix makes it one of its own.
  uint64_t createGraph(const std::string& candidate, const std::string& graphName);
  std::shared_ptr<ScribeGraph> findGraph(uint64_t handle) const;
  // The first graph for which the predicate holds, with its handle.
  std::pair<uint64_t, std::shared_ptr<ScribeGraph>> findGraphIf(
      const std::function<bool(const ScribeGraph&)>& predicate) const;
  template <class Visit>
  void forEachGraphHandle(Visit visit) const {
    if (!contents_) return;
    for (const auto& entry : contents_->graphs) visit(entry.first);
  }

  // Forwarding. The real backend gave the tensor registered under scribeId
  // its own id, realId: the variable is registered under that id instead (or
  // under none when the real backend refused the tensor).
  void rebindTensorId(uint32_t scribeId, std::optional<uint32_t> realId);
  // A graph the real backend refused: its handle and its client's name name
  // nothing any more, while its variable stays taken.
  void retireGraph(uint64_t handle);

 private:
  // Made on first use, so that a context which never holds a graph or a
  // tensor is created and freed without building and tearing down its maps.
  ContextContents& contents();
  NameClaims& claims();
  ZEB_NEVER_INLINE std::string_view newUnclaimedTensorName();

  // Names of this context's: in context_names.cpp.
  // What follows `{context}_` in a name of the context's; nothing for another.
  std::optional<std::string_view> wordAfterName(std::string_view prefix) const;
  ScribeGraph* graphOfVariable(std::string_view variable) const;
  // Whether a graph took that name: its variable, or its client's name's.
  bool isGraphName(std::string_view variable) const;
  bool isBinaryVariable(std::string_view variable) const;
  // Whether the context declares base, or the part of it the claim holds.
  bool declares(std::string_view base, Claim claim) const;
  bool declaresOfGraph(const names::Reach& reach, ClaimedPart part, uint32_t number) const;
  void claimAhead(std::string_view base, Claim claim);
  bool graphVariableTaken(std::string_view variable) const;
  std::string chooseGraphVariable(const std::string& candidate);
  bool everyNumberTaken(const names::Reach& reach) const;
  bool numberTaken(const names::Reach& reach, uint32_t number) const;
  void claimReach(const names::Reach& reach, std::string_view node);

  std::unique_ptr<ContextContents> contents_;
  std::unique_ptr<BinaryVariables> binaryVariables_;
};

struct ScribeBackend {
  std::string name;
  uint32_t configCounter = 0;  // numbers `{backend}_config_{n}`
  uint64_t real = 0;           // the real backend's handle, when forwarding
};

// Devices stay registered after their free, so their records are kept small.
struct ScribeDevice {
  explicit ScribeDevice(std::string name) : name(std::move(name)) {}
  const std::string name;
  WordCounters<DeviceWord> wordCounters;
  uint64_t real = 0;  // the real backend's handle, when forwarding
};

struct ScribeProfile {
  explicit ScribeProfile(std::string name) : name(std::move(name)) {}
  const std::string name;
  WordCounters<ProfileWord> wordCounters;
  uint64_t real = 0;  // the real backend's handle, when forwarding
};

// Forwarding: the recorder's tensor ids, which stand in until the real
// backend's come, continue past id, so that each one is registered last.
void advanceTensorIdsPast(uint32_t id);

// Handle of a record: the bytes of its address reversed, exclusive-or one mask.
// The null address gives 0.
uint64_t makeHandle(const void* address);
// Handle of the record at an index, made the same way from index + 1 with
// another mask: never 0, and never a handle made from a record's address.
uint64_t makeIndexHandle(uint64_t index);
// The index that makeIndexHandle made the handle from; any other handle gives
// an index far beyond any record's.
uint64_t indexOfHandle(uint64_t handle);

}  // namespace zeb
