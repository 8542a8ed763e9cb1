// zebscribe: what is in a ZebScribe recording, whether it is whole, how to
// finish it after a crash, what it does, how to build it, and its graphs; and
// recording an application that cannot be changed.
#include <cstring>
#include <exception>
#include <iostream>

#include "commands.h"
#include "options.h"
#include "tool_error.h"

namespace {

using namespace zeb::tool;

int dispatch(const Options& options) {
  if (options.command == "info") return runInfo(options);
  if (options.command == "check") return runCheck(options);
  if (options.command == "seal") return runSeal(options);
  if (options.command == "dump") return runDump(options);
  if (options.command == "graph") return runGraph(options);
  if (options.command == "record") return runRecord(options);
  return runBuild(options);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
    std::cout << usage();
    return 0;
  }
  try {
    const Options options = parseOptions(argc, argv);
    if (options.help) {
      std::cout << subcommand(options.command).help;
      return 0;
    }
    return dispatch(options);
  } catch (const ToolError& error) {
    std::cout.flush();
    std::cerr << "zebscribe: " << error.what() << "\n";
    return error.status();
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "zebscribe: " << error.what() << "\n";
    return kExitUnusable;
  }
}
