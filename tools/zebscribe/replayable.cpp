#include "commands.h"
#include "tool_error.h"

namespace zeb::tool {

void requireReplayable(const Recording& recording) {
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
  if (recording.dataTruncated()) {
    refuse("the data file " + recording.data.string() + " holds " +
           std::to_string(*recording.dataFileBytes) + " bytes but the program reads " +
           std::to_string(recording.bytesRead) + ": it is truncated");
  }
}

}  // namespace zeb::tool
