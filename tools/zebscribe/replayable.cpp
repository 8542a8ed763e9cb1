#include "commands.h"
#include "tool_error.h"

namespace zeb::tool {

void requireReplayable(const Recording& recording, bool trust) {
  const std::string model = recording.model.string();
  auto refuse = [](const std::string& message) { throw ToolError(kExitProblems, message); };
  if (recording.frame.header != HeaderState::kWhole) {
    refuse(model + " does not start with a whole model header: it cannot be compiled");
  }
  if (!recording.frame.footer) {
    refuse(model +
           " has no footer: the recorded application did not unload the library; "
           "`zebscribe seal` finishes the program first");
  }
  if (!recording.dataFileBytes) refuse("the data file " + recording.data.string() + " is missing");
  if (!trust && !recording.foreign.empty()) {
    const std::size_t more = recording.foreign.size() - 1;
    refuse(model + ":" + std::to_string(recording.foreign.front().line) +
           ": holds code that no recorder writes" +
           (more > 0 ? " (and " + std::to_string(more) + " more lines)" : std::string()) +
           "; `zebscribe check` lists it, and --trust compiles it all the same");
  }
  if (recording.dataTruncated()) {
    refuse("the data file " + recording.data.string() + " holds " +
           std::to_string(*recording.dataFileBytes) + " bytes but the program reads " +
           std::to_string(recording.bytesRead) + ": it is truncated");
  }
}

}  // namespace zeb::tool
