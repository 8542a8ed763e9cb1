// The one process-wide recorder: configuration, output files, registry of
// recorded objects and the names of the written program.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "forward/forward_target.h"
#include "recorder/environment.h"
#include "recorder/output_files.h"
#include "recorder/records.h"
#include "recorder/registry.h"

namespace zeb {

inline const char* const kDefaultOutputDirectory = "./scribe_output/";
inline const char* const kDefaultModelFileName = "scribe_output.c";
inline const char* const kDefaultDataFileName = "params.bin";

class Recorder {
 public:
  // The process-wide recorder, created on first use; none once it has been
  // destroyed at unload (a client's own static destructors may still call in).
  static Recorder* instance();

  // Configured from the environment, read now.
  Recorder();
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // Held for the whole of each recorded call and of each configuration, so
  // that calls from several threads are recorded one after the other. The same
  // thread may take it again: a client's log callback may call the API.
  std::recursive_mutex& callMutex() { return callMutex_; }

  // Opens the output on the first call: 0, or 4000 when it cannot start (retried
  // on the next call; a failed start leaves no file open).
  Zeb_ErrorHandle_t start() { return started_ ? Zeb_ErrorHandle_t{0} : startOutput(); }
  bool started() const { return started_; }

  // Pass-through: whether every call goes on to a real backend once recorded.
  // Read without the lock: a client sets it before its first call.
  bool forwarding() const { return forwarding_.load(std::memory_order_relaxed); }
  // The library to forward to; empty for none. Taken at the start.
  void setForwardLibrary(const std::string& path);
  // Loads the backend to forward to, if not loaded yet: 0, or 4000 when it
  // cannot be loaded or the environment holds a value that cannot be used.
  Zeb_ErrorHandle_t prepareForwarding();
  const ForwardTarget& forwardTarget() const { return forwardTarget_; }

  // Opens the model file, writes its header and opens the data file; on
  // failure closes what it opened and names the step that failed.
  enum class OpenStep { kDone, kModelFile, kModelHeader, kDataFile };
  OpenStep openFiles();

  // Only the process that opened the files writes to them. A process forked
  // from it lets go of its copies of them, and its calls answer 4000 with
  // refuseForkedProcess()'s message; a process forked before the start records
  // on its own.
  void holdForFork();
  void releaseAfterFork();
  void becomeForkedProcess(unsigned long parent);
  bool forkedAway() const { return forkedFrom_ != 0; }
  Zeb_ErrorHandle_t refuseForkedProcess() const;

  // prefix + "_" + the prefix's next counter value. These counters number
  // the names that derive from no record (a record numbers its own).
  std::string makeVariableName(std::string_view prefix);
  // The same in place: name holds the prefix.
  template <class Text>
  void numberName(Text& name) {
    names_.number(name);
  }
  // op holds a validated op's identifier: appends its number, or changes it
  // where the variables of an op configuration of that shape would meet others.
  void numberOpName(TextBuffer& op, const NameShape& shape);

  // Registration: the new handle, 0 on failure; contexts and profiles come
  // with their new record.
  Registered<ScribeContext> createContext();
  uint64_t createDevice();
  Registered<ScribeProfile> createProfile();

  // Lookups; empty (null) when the handle is unknown.
  std::shared_ptr<ScribeContext> findContext(uint64_t handle);
  ScribeDevice* findDevice(uint64_t handle);
  std::shared_ptr<ScribeProfile> findProfile(uint64_t handle);
  std::shared_ptr<ScribeGraph> findGraph(uint64_t handle);
  void recordGraphOwner(uint64_t graph, uint64_t context);
  uint64_t graphOwner(uint64_t graph) const;  // 0 when unknown

  // Pass-through. Where the record that a handle names keeps the real
  // backend's handle (null when the handle names none), and letting go of the
  // record of a creation that the real backend refused, so that no later call
  // finds it by its handle (or, a graph, by its name). Out of line, unlike the
  // lookups and erasures of the recording's hot path.
  uint64_t* realBackend(uint64_t handle);
  uint64_t* realContext(uint64_t handle);
  uint64_t* realGraph(uint64_t handle);
  uint64_t* realDevice(uint64_t handle);
  uint64_t* realProfile(uint64_t handle);
  void forgetBackend(uint64_t handle);
  void forgetContext(uint64_t handle);
  void forgetGraph(uint64_t handle);
  void forgetProfile(uint64_t handle);

  // Takes a freed record out of the registry (a context with its graph
  // owners); false, and logged, when its handle names none any more.
  bool eraseContext(uint64_t handle);
  bool eraseProfile(uint64_t handle);

  // Backends: handles count up from 1.
  ScribeBackend* findBackend(uint64_t handle);  // null when unknown
  uint64_t addBackend(ScribeBackend&& backend);  // returns the new handle
  bool eraseBackend(uint64_t handle);

  // Output. A block and the blobs it reads are written together or not at
  // all: the blobs first, in order, then the block; on any failure both files
  // are cut back to where they stood, so every fread reads its own blob.
  // Messages about a failure come once both files are cut back.
  enum class BlockWrite { Written, DataNotWritten, ModelNotWritten };
  BlockWrite writeBlock(std::string_view block, const std::vector<Blob>& blobs);

  // Configuration (set through ZebScribe_initialize).
  uint32_t backendIdentifier() const { return backendId_; }
  void setBackendIdentifier(uint32_t id) { backendId_ = id; }
  const std::string& outputDirectory() const { return outputDirectory_; }
  void setOutputDirectory(const std::string& directory) { outputDirectory_ = directory; }
  const std::string& modelFileName() const { return modelFileName_; }
  const std::string& dataFileName() const { return dataFileName_; }
  void setFileNames(const std::string& model, const std::string& data);
  // The names that apply when ZebScribe_initialize gives none: the
  // environment's, else the defaults.
  const std::string& defaultModelFileName() const { return defaultModelFileName_; }
  const std::string& defaultDataFileName() const { return defaultDataFileName_; }
  ModelFile& modelFile() { return modelFile_; }
  DataFile& dataFile() { return dataFile_; }

 private:
  Zeb_ErrorHandle_t startOutput();
  void applyEnvironment(const EnvironmentSettings& environment);
  // A value of the environment that cannot be used refuses every start.
  Zeb_ErrorHandle_t refuseBadEnvironment() const;
  // Opens the model file. A file continued without a header already holds
  // an earlier run's blocks: the names it declares are not handed out again.
  bool openModelFile();
  void continueNamesOf(const std::string& program);
  bool elementsTaken(std::string_view op, const NameShape& shape) const;
  bool writeBlobs(const std::vector<Blob>& blobs);
  bool writeGathered();

  // The registries are touched only under callMutex_.
  template <class Record>
  Registered<Record> registerRecord(Registry<Record>& registry, const char* prefix);

  std::recursive_mutex callMutex_;
  bool started_ = false;
  std::atomic<bool> forwarding_{false};
  unsigned long forkedFrom_ = 0;  // the recording process, in a process forked from it
  Registry<ScribeContext> contexts_;
  Registry<ScribeProfile> profiles_;
  // Devices are never erased: a device's handle is made from its index, and
  // a deque keeps every record in place as more are added.
  std::deque<ScribeDevice> devices_;
  std::unordered_map<uint64_t, uint64_t> graphOwners_;
  NameCounters names_;
  std::string outputDirectory_ = kDefaultOutputDirectory;
  std::string modelFileName_ = kDefaultModelFileName;
  std::string dataFileName_ = kDefaultDataFileName;
  ModelFile modelFile_;
  DataFile dataFile_;
  uint32_t backendId_ = 0;
  uint64_t nextBackendHandle_ = 1;
  NodeReusingMap<uint64_t, ScribeBackend> backends_;
  // The small blobs of one block, written together.
  TextBuffer gathered_;
  std::string defaultModelFileName_ = kDefaultModelFileName;
  std::string defaultDataFileName_ = kDefaultDataFileName;
  std::string environmentRefusal_;
  std::string forwardLibrary_;
  ForwardTarget forwardTarget_;
};

}  // namespace zeb
