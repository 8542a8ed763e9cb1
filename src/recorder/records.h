// Recorder-side records that stand for the handles given to the client.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>

namespace zeb {

class ScribeContext;

class ScribeGraph {
 public:
  ScribeGraph(ScribeContext* context, std::string name, std::string graphName)
      : context(context), name(std::move(name)), graphName(std::move(graphName)) {}

  ScribeContext* const context;
  const std::string name;       // variable name in the written program
  const std::string graphName;  // the client's name as given
};

class ScribeContext {
 public:
  explicit ScribeContext(std::string name) : name(std::move(name)) {}

  const std::string name;  // variable name in the written program
  std::set<std::string> graphNames;

  // Creates a graph record under a new handle; 0 on failure.
  uint64_t createGraph(const std::string& variableName, const std::string& graphName);
  std::shared_ptr<ScribeGraph> findGraph(uint64_t handle) const;
  // The first graph for which the predicate holds, with its handle.
  std::pair<uint64_t, std::shared_ptr<ScribeGraph>> findGraphIf(
      const std::function<bool(const ScribeGraph&)>& predicate) const;

 private:
  mutable std::mutex graphsMutex_;
  std::unordered_map<uint64_t, std::shared_ptr<ScribeGraph>> graphs_;
};

struct ScribeDevice {
  explicit ScribeDevice(std::string name) : name(std::move(name)) {}
  const std::string name;
};

struct ScribeProfile {
  explicit ScribeProfile(std::string name) : name(std::move(name)) {}
  const std::string name;
};

// Handle of a record: the bytes of its address reversed, exclusive-or one mask.
// The null address gives 0.
uint64_t makeHandle(const void* address);

}  // namespace zeb
