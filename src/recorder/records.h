// Recorder-side records that stand for the handles given to the client.
#pragma once

#include <cstdint>
#include <array>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include "ZebInterface.h"
#include "recorder/name_counters.h"

namespace zeb {

class ScribeContext;

// Variable names of the tensors created in one context or graph:
// `{owner}_tensor_{n}`. Entries never move, so the context's id map can
// refer to them. A list, unlike a deque, allocates nothing until the first
// tensor: contexts and graphs without tensors come and go without allocating.
class TensorNames {
 public:
  const std::string& next(const std::string& owner);

 private:
  uint32_t counter_ = 0;
  std::list<std::string> names_;
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

// Likewise for devices, `{device}_{word}_{n}`, and profiles.
enum class DeviceWord { config, hardwareInfo, customConfig, count };
enum class ProfileWord { config, maxEvents, customConfig, count };

// One counter per word of an owner's fixed list.
template <class Word>
struct WordCounters {
  uint32_t& operator[](Word word) { return values[static_cast<std::size_t>(word)]; }
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
  // Whether a written block declares the graph's variable.
  bool declared = false;

  const std::string& newTensorName() { return tensorNames_.next(name); }
  Zeb_ErrorHandle_t registerTensor(Zeb_Tensor_t& tensor, const std::string& variable);
  const std::string* findTensorName(uint32_t id) const;

 private:
  TensorNames tensorNames_;
};

class ScribeContext {
 public:
  explicit ScribeContext(std::string name) : name(std::move(name)) {}

  const std::string name;  // variable name in the written program
  std::set<std::string> graphNames;
  // Numbers the names derived from the context's own and from its graphs'
  // (whose names derive from the context's): they go when the context goes.
  WordCounters<ContextWord> wordCounters;
  NameCounters graphDerivedNames;

  // Context binaries: the variable that receives the binary's size once a
  // size was asked for, and which variables of the binary queries the written
  // program has declared already.
  std::string binarySizeVariable;
  struct BinaryDeclarations {
    bool size = false;
    bool writtenSize = false;
    bool buffer = false;  // and its file
  } binaryDeclared;

  // Tensors of the context and of all its graphs. Registration gives the
  // client's tensor the next process-wide id; 7003 or 7006 when that id is
  // already taken in this context.
  const std::string& newTensorName() { return tensorNames_.next(name); }
  Zeb_ErrorHandle_t registerTensor(Zeb_Tensor_t& tensor, const std::string& variable);
  // The variable of the tensor registered under id; null when none is.
  const std::string* findTensorName(uint32_t id) const;

  // Creates a graph record under a new handle; 0 on failure.
  uint64_t createGraph(const std::string& variableName, const std::string& graphName);
  std::shared_ptr<ScribeGraph> findGraph(uint64_t handle) const;
  // The first graph for which the predicate holds, with its handle.
  std::pair<uint64_t, std::shared_ptr<ScribeGraph>> findGraphIf(
      const std::function<bool(const ScribeGraph&)>& predicate) const;
  template <class Visit>
  void forEachGraphHandle(Visit visit) const {
    for (const auto& entry : graphs_) visit(entry.first);
  }

 private:
  std::unordered_map<uint64_t, std::shared_ptr<ScribeGraph>> graphs_;
  TensorNames tensorNames_;
  std::set<std::string, std::less<>> tensorClientNames_;
  std::map<uint32_t, const std::string*> tensorIds_;
};

struct ScribeBackend {
  std::string name;
  uint32_t configCounter = 0;  // numbers `{backend}_config_{n}`
};

// Devices stay registered after their free, so their records are kept small.
struct ScribeDevice {
  explicit ScribeDevice(std::string name) : name(std::move(name)) {}
  const std::string name;
  WordCounters<DeviceWord> wordCounters;
};

struct ScribeProfile {
  explicit ScribeProfile(std::string name) : name(std::move(name)) {}
  const std::string name;
  WordCounters<ProfileWord> wordCounters;
};

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
