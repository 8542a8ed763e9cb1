// `zebscribe check`: one line per problem, status 0 only for a sound recording.
#include <iostream>

#include "commands.h"
#include "findings.h"
#include "tool_error.h"

namespace zeb::tool {

int runCheck(const Options& options) {
  const Recording recording = loadRecording(options.location);
  const std::string model = recording.model.string();
  std::size_t problems = 0;
  for (const Finding& finding : examine(recording)) {
    std::cout << model << (finding.line > 0 ? ":" + std::to_string(finding.line) : "") << ": "
              << (finding.warning ? "warning: " : "") << finding.message << "\n";
    problems += finding.warning ? 0 : 1;
  }
  if (problems > 0) {
    std::cout << model << ": " << problems << (problems == 1 ? " problem\n" : " problems\n");
    return kExitProblems;
  }
  std::cout << model << ": sound: " << recording.callCount() << " calls, " << recording.bytesRead
            << " bytes read from " << recording.data.string() << "\n";
  return 0;
}

}  // namespace zeb::tool
