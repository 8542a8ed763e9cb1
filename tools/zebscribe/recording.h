// A recording directory read: the model file cut into frame and blocks, and
// how the program's reads lie in the data file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "blocks.h"
#include "frame.h"

namespace zeb::tool {

namespace fs = std::filesystem;

// Where to look: a directory (or a model file), and the files if named.
struct Location {
  fs::path directory;
  fs::path model;  // empty: scribe_output.c, or the directory's only .c file
  fs::path data;   // empty: the file the header names, beside the model file
};

// One fread of a whole block, and where its blob lies in the data file.
struct Read {
  std::size_t line = 0;
  uint64_t bytes = 0;
  uint64_t offset = 0;
};

// A line that no recorder writes, or text that C would read as more code.
struct ForeignCode {
  std::size_t line = 0;
  std::string message;
};

struct Recording {
  fs::path directory;
  fs::path model;
  fs::path data;
  std::shared_ptr<const std::string> text;  // the model file; every view points into it
  Frame frame;
  Body body;
  std::optional<uint64_t> dataFileBytes;  // none when there is no data file
  std::vector<Read> reads;
  uint64_t bytesRead = 0;
  std::vector<ForeignCode> foreign;  // in line order

  std::size_t callCount() const { return body.blocks.size(); }
  bool dataTruncated() const { return dataFileBytes && *dataFileBytes < bytesRead; }
};

// Throws ToolError for a missing directory or file, or a file that is not a
// recording.
Recording loadRecording(const Location& location);

// Fills recording.foreign, once the recording is read and recognised.
void findForeignCode(Recording& recording);

// Adds without wrapping around: sizes come from files that may be doctored.
uint64_t saturatingAdd(uint64_t a, uint64_t b);
uint64_t saturatingMultiply(uint64_t a, uint64_t b);

}  // namespace zeb::tool
