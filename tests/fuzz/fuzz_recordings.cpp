// info, check, seal and graph on any recording: the model file up to the first NUL, then the data file.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "zebscribe/commands.h"
#include "zebscribe/tool_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  namespace fs = std::filesystem;
  static const fs::path directory = [] {
    const fs::path made = fs::temp_directory_path() / ("zeb_fuzz_recordings_" + std::to_string(::getpid()));
    fs::create_directories(made);
    return made;
  }();
  const std::string input(reinterpret_cast<const char*>(bytes), size);
  const std::size_t split = std::min(input.find('\0'), input.size());
  std::ofstream(directory / "scribe_output.c", std::ios::binary) << input.substr(0, split);
  std::ofstream(directory / "params.bin", std::ios::binary) << input.substr(std::min(split + 1, input.size()));
  std::ostringstream discarded;
  std::streambuf* out = std::cout.rdbuf(discarded.rdbuf());
  std::streambuf* err = std::cerr.rdbuf(discarded.rdbuf());
  zeb::tool::Options options;
  options.location.directory = directory;
  options.json = size % 2 == 1;
  using Command = int (*)(const zeb::tool::Options&);
  for (const Command command : {zeb::tool::runInfo, zeb::tool::runCheck, zeb::tool::runSeal, zeb::tool::runGraph}) {
    try {
      command(options);
    } catch (const zeb::tool::ToolError&) {}  // a clear refusal is what bad input deserves
  }
  std::cout.rdbuf(out), std::cerr.rdbuf(err);
  return 0;
}
