#include "recorder/configuration.h"

#include <ctime>
#include <exception>
#include <optional>
#include <string>

#include "log/logger.h"
#include "pal/pal.h"

namespace zeb {
namespace {

constexpr Zeb_ErrorHandle_t kRefused = ZEB_COMMON_ERROR_INVALID_ARGUMENT;
constexpr Zeb_ErrorHandle_t kOrder = ZEB_SCRIBE_ERROR_OPTION_ORDER;
constexpr Zeb_ErrorHandle_t kSwitchFailed = ZEB_BACKEND_ERROR_GENERAL;

// The values of one call, applied only when every record and rule passed.
// Names not given are the defaults, or the environment's.
struct Pending {
  explicit Pending(const Recorder& recorder)
      : modelFileName(recorder.defaultModelFileName()),
        dataFileName(recorder.defaultDataFileName()) {}
  std::optional<std::string> directory;
  std::optional<std::string> timestamp;
  std::optional<uint32_t> backendId;
  bool fileNamesGiven = false;
  std::string modelFileName;
  std::string dataFileName;
  std::optional<bool> writeHeader;
  std::optional<bool> writeFooter;
  std::optional<std::string> forwardLibrary;  // empty: none
};

std::string outputDirectory(const char* directory) {
  if (directory == nullptr) {
    zeb::log::warning("NULL output path provided, defaulting to ./scribe_output/");
    return kDefaultOutputDirectory;
  }
  if (*directory == '\0') {
    zeb::log::warning("Empty output path provided, defaulting to ./scribe_output/");
    return kDefaultOutputDirectory;
  }
  return directory;
}

}  // namespace

std::string localTimestamp() {
  const auto seconds = static_cast<std::time_t>(pal::systemClockNanoseconds() / 1000000000u);
  std::tm local{};
  char text[32] = "";
  if (pal::localTime(seconds, local)) std::strftime(text, sizeof text, "%m-%d-%Y_%H_%M_%S", &local);
  return text;
}

FileNames timestampedFileNames(const std::string& timestamp) {
  return {"scribe_output_" + timestamp + ".c", "params_" + timestamp + ".bin"};
}

namespace {

bool hasSlash(const std::string& name) { return name.find_first_of("/\\") != std::string::npos; }

Zeb_ErrorHandle_t readFileNames(const ZebScribe_FileConfig_t& files, Pending& pending) {
  if (files.modelFileName == nullptr || files.dataFileName == nullptr) {
    zeb::log::error("Model filename or data filename are NULL");
    return kRefused;
  }
  if (hasSlash(files.modelFileName) || hasSlash(files.dataFileName)) {
    zeb::log::error("Model filename or data filename contain slashes");
    return kRefused;
  }
  // One file for both would start the program with the data's bytes.
  if (std::string(files.modelFileName) == files.dataFileName) {
    zeb::log::error("Model filename and data filename must differ");
    return kRefused;
  }
  pending.fileNamesGiven = true;
  pending.modelFileName = files.modelFileName;
  pending.dataFileName = files.dataFileName;
  return 0;
}

// NULL: record only, forwarding nothing, whatever the environment asks.
Zeb_ErrorHandle_t readForwardLibrary(const char* path, Pending& pending) {
  if (path != nullptr && *path == '\0') {
    zeb::log::error("Empty forward library path provided");
    return kRefused;
  }
  pending.forwardLibrary = path != nullptr ? path : "";
  return 0;
}

Zeb_ErrorHandle_t readRecord(const ZebScribe_Config_t& record, Pending& pending) {
  switch (record.option) {
    case ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY:
      pending.directory = outputDirectory(record.outputDirectory);
      return 0;
    case ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP:
      if (record.appendTimestamp != 0) pending.timestamp = localTimestamp();
      return 0;
    case ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID:
      pending.backendId = record.backendId;
      return 0;
    case ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG:
      return readFileNames(record.fileConfig, pending);
    case ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER:
      pending.writeHeader = record.writeOutputHeader != 0;
      return 0;
    case ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_FOOTER:
      pending.writeFooter = record.writeOutputFooter != 0;
      return 0;
    case ZEB_SCRIBE_CONFIG_OPTION_FORWARD:
      return readForwardLibrary(record.forwardLibrary, pending);
  }
  zeb::log::error("Unknown Scribe config option provided: %ld", static_cast<long>(record.option));
  return kRefused;
}

Zeb_ErrorHandle_t orderRefused(const char* message) {
  zeb::log::error("%s", message);
  return kOrder;
}

// Header and footer flags only come together with new file names.
Zeb_ErrorHandle_t checkHeaderFooterRule(const Pending& pending) {
  if (pending.writeHeader.has_value())
    return orderRefused(
        "ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_HEADER must be provided concurrently with "
        "ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG");
  if (pending.writeFooter.has_value())
    return orderRefused(
        "ZEB_SCRIBE_CONFIG_WRITE_OUTPUT_FOOTER must be provided concurrently with "
        "ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG");
  return 0;
}

Zeb_ErrorHandle_t checkOrder(const Pending& pending, bool started) {
  if (!started) return pending.fileNamesGiven ? 0 : checkHeaderFooterRule(pending);
  // The start loads the backend to forward to.
  if (pending.forwardLibrary)
    return orderRefused(
        "ZEB_SCRIBE_CONFIG_OPTION_FORWARD must be provided before any other ZEB APIs are called");
  if (pending.timestamp)
    return orderRefused(
        "ZEB_SCRIBE_CONFIG_OPTION_APPEND_TIMESTAMP must be provided before any other ZEB APIs "
        "are called");
  if (pending.fileNamesGiven) return 0;
  if (pending.backendId)
    return orderRefused(
        "ZEB_SCRIBE_CONFIG_OPTION_BACKEND_ID must be provided concurrently with "
        "ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG if provided after any other ZEB APIs have been "
        "called");
  if (pending.directory)
    return orderRefused(
        "ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY must be provided concurrently with "
        "ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG if provided after any other ZEB APIs have been "
        "called");
  return checkHeaderFooterRule(pending);
}

std::string pathOf(std::string directory, const std::string& name) {
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory + name;
}

// Switching to a file the recording writes now would truncate what it holds.
Zeb_ErrorHandle_t checkFilesNotInUse(const Recorder& recorder, const Pending& pending) {
  if (!recorder.started() || !pending.fileNamesGiven) return 0;
  const std::string directory = pending.directory.value_or(recorder.outputDirectory());
  const std::string current[] = {pathOf(recorder.outputDirectory(), recorder.modelFileName()),
                                 pathOf(recorder.outputDirectory(), recorder.dataFileName())};
  for (const std::string* name : {&pending.modelFileName, &pending.dataFileName}) {
    const std::string path = pathOf(directory, *name);
    if (path == current[0] || path == current[1]) {
      zeb::log::error("File %s is in use by the current recording", name->c_str());
      return kRefused;
    }
  }
  return 0;
}

void applySettings(Recorder& recorder, const Pending& pending) {
  if (pending.directory) recorder.setOutputDirectory(*pending.directory);
  if (pending.backendId) recorder.setBackendIdentifier(*pending.backendId);
  if (pending.forwardLibrary) recorder.setForwardLibrary(*pending.forwardLibrary);
  if (pending.timestamp) {
    const FileNames stamped = timestampedFileNames(*pending.timestamp);
    recorder.setFileNames(stamped.model, stamped.data);
  } else {
    recorder.setFileNames(pending.modelFileName, pending.dataFileName);
  }
}

void applyFileFlags(Recorder& recorder, const Pending& pending) {
  if (pending.writeHeader.has_value()) {
    recorder.modelFile().writeHeader = *pending.writeHeader;
    recorder.dataFile().append = !*pending.writeHeader;
  }
  if (pending.writeFooter.has_value()) recorder.modelFile().writeFooter = *pending.writeFooter;
}

Zeb_ErrorHandle_t switchFailed(const char* message) {
  zeb::log::error("%s", message);
  return kSwitchFailed;
}

// Finishes the current pair of files and continues in the newly named pair.
// Files that a failed switch left closed have nothing to finish.
Zeb_ErrorHandle_t switchFiles(Recorder& recorder, const Pending& pending) {
  ModelFile& model = recorder.modelFile();
  DataFile& data = recorder.dataFile();
  if (model.isOpen()) {
    if (!model.writeModelFooter()) return switchFailed("Failure when writing model footer");
    if (!model.close()) return switchFailed("Failure when closing model file");
  }
  if (data.isOpen() && !data.close()) return switchFailed("Failure when closing data file");
  model.setLocation(recorder.outputDirectory(), recorder.modelFileName());
  data.setLocation(recorder.outputDirectory(), recorder.dataFileName());
  applyFileFlags(recorder, pending);
  switch (recorder.openFiles()) {
    case Recorder::OpenStep::kDone:
      return 0;
    case Recorder::OpenStep::kModelFile:
      return switchFailed("Failure when opening model file");
    case Recorder::OpenStep::kModelHeader:
      return switchFailed("Failure when writing model header");
    case Recorder::OpenStep::kDataFile:
      break;
  }
  return switchFailed("Failure when opening data file");
}

}  // namespace

Zeb_ErrorHandle_t configureRecorder(Recorder& recorder, const ZebScribe_Config_t** config) {
  if (recorder.forkedAway()) return recorder.refuseForkedProcess();
  Pending pending(recorder);
  for (auto record = config; record != nullptr && *record != nullptr; ++record) {
    if (const auto refused = readRecord(**record, pending)) return refused;
  }
  if (const auto refused = checkOrder(pending, recorder.started())) return refused;
  if (const auto refused = checkFilesNotInUse(recorder, pending)) return refused;
  applySettings(recorder, pending);
  if (!recorder.started()) {
    applyFileFlags(recorder, pending);
    return 0;
  }
  return pending.fileNamesGiven ? switchFiles(recorder, pending) : 0;
}

}  // namespace zeb

extern "C" ZEB_API Zeb_ErrorHandle_t ZebScribe_initialize(const ZebScribe_Config_t** config) {
  // Errors cross the API as codes only.
  try {
    zeb::Recorder* recorder = zeb::Recorder::instance();
    if (recorder == nullptr) return ZEB_BACKEND_ERROR_CANNOT_INITIALIZE;
    const std::lock_guard<std::recursive_mutex> lock(recorder->callMutex());
    return zeb::configureRecorder(*recorder, config);
  } catch (const std::exception&) {
    return ZEB_COMMON_ERROR_MEM_ALLOC;
  }
}
