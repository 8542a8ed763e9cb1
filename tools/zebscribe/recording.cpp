#include "recording.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>

#include "recorded_statements.h"
#include "tool_error.h"

namespace zeb::tool {
namespace {

constexpr char kDefaultModel[] = "scribe_output.c";
constexpr char kDefaultData[] = "params.bin";

[[noreturn]] void fail(int status, const std::string& message) { throw ToolError(status, message); }

// The directory's only .c file, for recordings with stamped or chosen names.
fs::path onlySourceFile(const fs::path& directory) {
  fs::path found;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(directory, error)) {
    if (entry.path().extension() != ".c" || !entry.is_regular_file(error)) continue;
    if (!found.empty()) return {};
    found = entry.path();
  }
  return found;
}

fs::path findModel(const Location& location, fs::path& directory) {
  std::error_code error;
  if (!location.model.empty()) return location.model;
  if (fs::is_regular_file(location.directory, error)) {
    directory = location.directory.parent_path();
    return location.directory;
  }
  if (!fs::exists(location.directory, error)) {
    fail(kExitUnusable, "no such directory: " + location.directory.string());
  }
  if (!fs::is_directory(location.directory, error)) {
    fail(kExitUnusable, location.directory.string() + " is neither a directory nor a file");
  }
  if (fs::exists(location.directory / kDefaultModel, error))
    return location.directory / kDefaultModel;
  const fs::path only = onlySourceFile(location.directory);
  if (only.empty()) {
    fail(kExitUnusable, "no model file in " + location.directory.string() + ": neither " +
                            kDefaultModel + " nor a single .c file (name it with --model)");
  }
  return only;
}

std::shared_ptr<const std::string> readWhole(const fs::path& file) {
  std::error_code error;
  if (!fs::is_regular_file(file, error)) fail(kExitUnusable, "no such file: " + file.string());
  std::ifstream in(file, std::ios::binary);
  if (!in) fail(kExitUnusable, "cannot read " + file.string());
  auto text = std::make_shared<std::string>(std::istreambuf_iterator<char>(in),
                                            std::istreambuf_iterator<char>());
  if (in.bad()) fail(kExitUnusable, "cannot read " + file.string());
  return text;
}

void refuseNonRecording(const Recording& recording) {
  const std::string name = recording.model.string();
  if (recording.frame.header == HeaderState::kAltered) {
    fail(kExitUnusable, name +
                            " is not a ZebScribe recording: its header differs from the "
                            "recorder's at line " +
                            std::to_string(recording.frame.differingLine));
  }
  bool anyCall = !recording.body.blocks.empty();
  for (const Statement& statement : recording.body.partial)
    anyCall |= bool(calledMember(statement));
  if (recording.frame.header == HeaderState::kAbsent && !anyCall) {
    fail(kExitUnusable, name +
                            " is not a ZebScribe recording: it has neither the model header "
                            "nor a recorded call");
  }
}

void placeReads(Recording& recording) {
  for (const Block& block : recording.body.blocks) {
    for (const Recognised& statement : block.recognised) {
      if (statement.shape == nullptr || statement.shape->elementBytes == 0) continue;
      const std::size_t line = block.statements[statement.first + 1].line;  // the fread
      recording.reads.push_back({line, statement.bytesRead, recording.bytesRead});
      recording.bytesRead = saturatingAdd(recording.bytesRead, statement.bytesRead);
    }
  }
}

// The header's name without any directory in it: seal cuts the data file, and a
// doctored name must not lead it out of the recording's directory.
void measureData(Recording& recording, const Location& location) {
  const bool named = recording.frame.header == HeaderState::kWhole;
  const fs::path name = named ? fs::path(recording.frame.dataFileName).filename() : kDefaultData;
  recording.data = !location.data.empty() ? location.data : recording.model.parent_path() / name;
  std::error_code error;
  const uint64_t size = fs::file_size(recording.data, error);
  if (!error && fs::is_regular_file(recording.data, error)) recording.dataFileBytes = size;
}

}  // namespace

uint64_t saturatingAdd(uint64_t a, uint64_t b) {
  return b > std::numeric_limits<uint64_t>::max() - a ? std::numeric_limits<uint64_t>::max()
                                                      : a + b;
}

uint64_t saturatingMultiply(uint64_t a, uint64_t b) {
  if (a != 0 && b > std::numeric_limits<uint64_t>::max() / a)
    return std::numeric_limits<uint64_t>::max();
  return a * b;
}

Recording loadRecording(const Location& location) {
  Recording recording;
  recording.directory = location.directory;
  recording.model = findModel(location, recording.directory);
  recording.text = readWhole(recording.model);
  const std::string_view text = *recording.text;
  recording.frame = readFrame(text);
  recording.body = splitBody(scanStatements(text, recording.frame.bodyBegin,
                                            recording.frame.bodyEnd, recording.frame.bodyLine));
  refuseNonRecording(recording);
  for (Block& block : recording.body.blocks) block.recognised = recognise(block.statements);
  placeReads(recording);
  findForeignCode(recording);
  measureData(recording, location);
  return recording;
}

}  // namespace zeb::tool
