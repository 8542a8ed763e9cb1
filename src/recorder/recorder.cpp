#include "recorder/recorder.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <new>
#include <string_view>

#include "log/logger.h"
#include "pal/pal.h"
#include "recorder/configuration.h"
#include "recorder/name_grammar.h"

namespace zeb {
namespace {

// Plain data, so it can still be read after every object of the library is gone.
bool processRecorderDestroyed = false;

// The process recorder, for the fork handlers; set once it is made.
Recorder* forkWatched = nullptr;
unsigned long forkingProcess = 0;

Recorder* forkWatchedRecorder() { return processRecorderDestroyed ? nullptr : forkWatched; }

void prepareFork() {
  forkingProcess = pal::processId();
  if (Recorder* recorder = forkWatchedRecorder()) recorder->holdForFork();
}

void afterForkInParent() {
  if (Recorder* recorder = forkWatchedRecorder()) recorder->releaseAfterFork();
}

void afterForkInChild() {
  if (Recorder* recorder = forkWatchedRecorder()) recorder->becomeForkedProcess(forkingProcess);
}

// Marks the recorder as gone before its members start to go.
struct ProcessRecorder {
  ProcessRecorder() {
    forkWatched = &recorder;
    pal::watchForks(prepareFork, afterForkInParent, afterForkInChild);
  }
  ~ProcessRecorder() { processRecorderDestroyed = true; }
  Recorder recorder;
};

}  // namespace

Recorder* Recorder::instance() {
  if (processRecorderDestroyed) return nullptr;
  static ProcessRecorder process;
  return &process.recorder;
}

Recorder::Recorder()
    : modelFile_(outputDirectory_, modelFileName_), dataFile_(outputDirectory_, dataFileName_) {
  // The files log when they close at unload: the logger registry must be
  // constructed before the recorder so that it is destroyed after it.
  log::ensureRegistry();
  applyEnvironment(readEnvironment());
}

// The environment's values take the defaults' place; ZebScribe_initialize
// overrides them as it overrides the defaults.
void Recorder::applyEnvironment(const EnvironmentSettings& environment) {
  environmentRefusal_ = environment.refusal;
  if (!environmentRefusal_.empty()) return;
  if (environment.outputDirectory) outputDirectory_ = *environment.outputDirectory;
  if (environment.timestamp) {
    const FileNames stamped = timestampedFileNames(localTimestamp());
    defaultModelFileName_ = stamped.model;
    defaultDataFileName_ = stamped.data;
  } else {
    defaultModelFileName_ = environment.modelFileName.value_or(kDefaultModelFileName);
    defaultDataFileName_ = environment.dataFileName.value_or(kDefaultDataFileName);
  }
  setFileNames(defaultModelFileName_, defaultDataFileName_);
  if (environment.writeHeader) {
    modelFile_.writeHeader = *environment.writeHeader;
    dataFile_.append = !*environment.writeHeader;
  }
  if (environment.writeFooter) modelFile_.writeFooter = *environment.writeFooter;
  if (environment.backendId) backendId_ = *environment.backendId;
  if (environment.forwardLibrary) setForwardLibrary(*environment.forwardLibrary);
}

Zeb_ErrorHandle_t Recorder::refuseBadEnvironment() const {
  if (environmentRefusal_.empty()) return ZEB_SUCCESS;
  log::errorOrStandardError("%s", environmentRefusal_.c_str());
  return ZEB_BACKEND_ERROR_CANNOT_INITIALIZE;
}

void Recorder::setForwardLibrary(const std::string& path) {
  forwardLibrary_ = path;
  forwarding_.store(!path.empty(), std::memory_order_relaxed);
}

Zeb_ErrorHandle_t Recorder::prepareForwarding() {
  if (Zeb_ErrorHandle_t code = refuseBadEnvironment()) return code;
  if (forwardLibrary_.empty() || forwardTarget_.loaded()) return ZEB_SUCCESS;
  std::string reason;
  if (forwardTarget_.load(forwardLibrary_, reason)) return ZEB_SUCCESS;
  log::errorOrStandardError("Cannot load the backend to forward to, %s: %s",
                            forwardLibrary_.c_str(), reason.c_str());
  return ZEB_BACKEND_ERROR_CANNOT_INITIALIZE;
}

// Members go in reverse order: the data file is closed before the model file
// writes its footer and closes.
Recorder::~Recorder() = default;

Zeb_ErrorHandle_t Recorder::startOutput() {
  if (forkedAway()) return refuseForkedProcess();
  if (Zeb_ErrorHandle_t code = prepareForwarding()) return code;
  modelFile_.setLocation(outputDirectory_, modelFileName_);
  dataFile_.setLocation(outputDirectory_, dataFileName_);
  if (openFiles() != OpenStep::kDone) return ZEB_BACKEND_ERROR_CANNOT_INITIALIZE;
  started_ = true;
  return ZEB_SUCCESS;
}

// A program without its data file could not be replayed: a model file whose
// header this open wrote is finished at once, and never holds a block. A file
// continued without a header is left as it was.
Recorder::OpenStep Recorder::openFiles() {
  if (!openModelFile()) return OpenStep::kModelFile;
  if (!modelFile_.writeModelHeader(dataFileName_)) {
    modelFile_.close();
    return OpenStep::kModelHeader;
  }
  if (!dataFile_.open()) {
    if (modelFile_.writeHeader) modelFile_.writeModelFooter();
    modelFile_.close();
    return OpenStep::kDataFile;
  }
  return OpenStep::kDone;
}

// No call is in progress while the process forks, so the child's copy of the
// recorder is whole.
void Recorder::holdForFork() { callMutex_.lock(); }

void Recorder::releaseAfterFork() { callMutex_.unlock(); }

// The child's copy of the lock is held for a thread of the parent; a new lock
// takes its place. Closing the child's copies of the files leaves the parent's
// claim on them in place, and nothing is written.
void Recorder::becomeForkedProcess(unsigned long parent) {
  new (&callMutex_) std::recursive_mutex;
  if (!started_) return;
  started_ = false;
  forkedFrom_ = parent;
  modelFile_.abandon();
  dataFile_.abandon();
}

Zeb_ErrorHandle_t Recorder::refuseForkedProcess() const {
  log::error("Process %lu records into %s; this process, forked from it, records nothing",
             forkedFrom_, modelFile_.path().c_str());
  return ZEB_BACKEND_ERROR_CANNOT_INITIALIZE;
}

std::string Recorder::makeVariableName(std::string_view prefix) { return names_.next(prefix); }

// A validated op's names are the recorder's, numbered per identifier: they
// meet no context's, device's, profile's or backend's (an op whose names would
// begin as a record's takes "alt_" before them, whether that record exists or
// not), and another op configuration's only through the elements
// `{op}_input_{i}` and the like, which the counters of those prefixes tell.
void Recorder::numberOpName(TextBuffer& op, const NameShape& shape) {
  if (names::numbersInRecordNames(op)) {
    const std::string identifier(op.view());
    op = "alt_";
    op += identifier;
  }
  const names::Reach reach = names::reachOf(op);
  if (reach.kind == names::Reach::Kind::element) {
    const auto parent = names::splitNumber(reach.owner);
    if (names_.handedOut(parent->prefix) > parent->number) op += "_alt";
  }
  const std::size_t prefixLength = op.size();
  names_.number(op);
  while (elementsTaken(op, shape)) {
    op.cutTo(prefixLength);
    names_.number(op);
  }
}

bool Recorder::elementsTaken(std::string_view op, const NameShape& shape) const {
  const auto taken = [&](std::string_view element, uint32_t count) {
    return count > 0 && names_.handedOut(std::string(op) + std::string(element)) > 0;
  };
  return taken("_param", shape.params) || taken("_input", shape.inputs) ||
         taken("_output", shape.outputs);
}

bool Recorder::openModelFile() {
  if (!modelFile_.open()) return false;
  if (!modelFile_.writeHeader && modelFile_.length() > 0) {
    std::ifstream program(modelFile_.path(), std::ios::binary);
    continueNamesOf(std::string(std::istreambuf_iterator<char>(program), {}));
  }
  return true;
}

// Every name the recorder makes is a prefix, "_" and a number: each such word
// of the program moves its prefix's counter past the number.
void Recorder::continueNamesOf(const std::string& program) {
  const auto isWordCharacter = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  };
  const std::string_view text(program);
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t begin = at;
    while (at < text.size() && isWordCharacter(text[at])) ++at;
    if (at == begin) {
      ++at;
      continue;
    }
    const std::string_view word = text.substr(begin, at - begin);
    const std::size_t underscore = word.rfind('_');
    if (underscore == std::string_view::npos || underscore == 0) continue;
    uint32_t number = 0;
    const char* digits = word.data() + underscore + 1;
    const auto parsed = std::from_chars(digits, word.data() + word.size(), number);
    if (parsed.ec != std::errc() || parsed.ptr != word.data() + word.size() || digits == parsed.ptr)
      continue;
    names_.reserve(word.substr(0, underscore), number);
  }
}

template <class Record>
Registered<Record> Recorder::registerRecord(Registry<Record>& registry, const char* prefix) {
  try {
    return registry.add(names_.next(prefix));
  } catch (const std::bad_alloc&) {
    return {};
  }
}

Registered<ScribeContext> Recorder::createContext() { return registerRecord(contexts_, "context"); }
Registered<ScribeProfile> Recorder::createProfile() { return registerRecord(profiles_, "profile"); }

uint64_t Recorder::createDevice() {
  try {
    devices_.emplace_back(names_.next("device"));
    return makeIndexHandle(devices_.size() - 1);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

std::shared_ptr<ScribeContext> Recorder::findContext(uint64_t handle) {
  return contexts_.find(handle);
}

ScribeDevice* Recorder::findDevice(uint64_t handle) {
  const uint64_t index = indexOfHandle(handle);
  return index < devices_.size() ? &devices_[index] : nullptr;
}

std::shared_ptr<ScribeProfile> Recorder::findProfile(uint64_t handle) {
  return profiles_.find(handle);
}

std::shared_ptr<ScribeGraph> Recorder::findGraph(uint64_t handle) {
  const auto context = findContext(graphOwner(handle));
  return context ? context->findGraph(handle) : nullptr;
}

void Recorder::recordGraphOwner(uint64_t graph, uint64_t context) { graphOwners_[graph] = context; }

uint64_t Recorder::graphOwner(uint64_t graph) const {
  const auto found = graphOwners_.find(graph);
  return found == graphOwners_.end() ? 0 : found->second;
}

// A client's log callback, called while the free is recorded, may have freed
// the record already.
bool Recorder::eraseContext(uint64_t handle) {
  const auto context = contexts_.remove(handle);
  if (!context) {
    log::error("Could not deallocate the context.");
    return false;
  }
  // Graph lookups through the freed context fail from now on.
  context->forEachGraphHandle([this](uint64_t graph) { graphOwners_.erase(graph); });
  return true;
}

bool Recorder::eraseProfile(uint64_t handle) {
  if (profiles_.remove(handle)) return true;
  log::error("Could not deallocate the profile.");
  return false;
}

ScribeBackend* Recorder::findBackend(uint64_t handle) { return backends_.find(handle); }

uint64_t Recorder::addBackend(ScribeBackend&& backend) {
  const uint64_t handle = nextBackendHandle_++;
  backends_.insert(handle, std::move(backend));
  return handle;
}

bool Recorder::eraseBackend(uint64_t handle) { return backends_.erase(handle); }

Recorder::BlockWrite Recorder::writeBlock(std::string_view block, const std::vector<Blob>& blobs) {
  const log::HeldMessages held;
  const uint64_t dataLength = dataFile_.length();
  if (!writeBlobs(blobs)) {
    dataFile_.cutBack(dataLength);
    return BlockWrite::DataNotWritten;
  }
  if (!modelFile_.writeString(block)) {
    if (!blobs.empty()) dataFile_.cutBack(dataLength);
    return BlockWrite::ModelNotWritten;
  }
  return BlockWrite::Written;
}

// A blob goes from the client's buffer to the file. Only small ones of a
// block with several are copied, to travel in one write: a write costs far
// more than copying a few kilobytes.
bool Recorder::writeBlobs(const std::vector<Blob>& blobs) {
  if (blobs.size() == 1) {
    return dataFile_.writeElements(blobs[0].data, blobs[0].elementSize, blobs[0].elementCount);
  }
  constexpr uint64_t kGatheredBlobLimit = 16 * 1024;
  gathered_.clear();
  for (const Blob& blob : blobs) {
    const uint64_t bytes = blob.elementSize * blob.elementCount;
    if (bytes <= kGatheredBlobLimit) {
      gathered_ +=
          std::string_view(static_cast<const char*>(blob.data), static_cast<std::size_t>(bytes));
    } else if (!writeGathered() ||
               !dataFile_.writeElements(blob.data, blob.elementSize, blob.elementCount)) {
      return false;
    }
  }
  return writeGathered();
}

bool Recorder::writeGathered() {
  if (gathered_.empty()) return true;
  const bool written = dataFile_.writeElements(gathered_.view().data(), 1, gathered_.size());
  gathered_.clear();
  return written;
}

void Recorder::setFileNames(const std::string& model, const std::string& data) {
  modelFileName_ = model;
  dataFileName_ = data;
}

}  // namespace zeb
