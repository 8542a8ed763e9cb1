// `zebscribe seal`: finishes the program of an application that died before
// it unloaded the library, so that the calls recorded until then replay.
#include <fstream>
#include <iostream>
#include <system_error>

#include "commands.h"
#include "recorder/model_frame.h"
#include "tool_error.h"

namespace zeb::tool {
namespace {

[[noreturn]] void refuse(const std::string& message) { throw ToolError(kExitProblems, message); }

void requireSealable(const Recording& recording) {
  const std::string model = recording.model.string();
  if (recording.frame.footer) refuse(model + " already has its footer: seal leaves it as it is");
  if (recording.frame.header == HeaderState::kCut) {
    refuse(model + " ends inside its model header: no call was recorded");
  }
  if (recording.frame.header != HeaderState::kWhole) {
    refuse(model + " has no model header: seal only finishes a program that starts with one");
  }
  if (!recording.dataFileBytes && recording.bytesRead > 0) {
    refuse("the data file " + recording.data.string() + " is missing: seal cannot bring back lost data");
  }
  if (recording.dataTruncated()) {
    refuse("the data file " + recording.data.string() + " holds " +
           std::to_string(*recording.dataFileBytes) + " bytes but the whole blocks read " +
           std::to_string(recording.bytesRead) + ": seal cannot bring back lost data");
  }
}

// Written beside the model file and renamed over it, so that a failure leaves
// the recording as it was.
void replaceModel(const Recording& recording, const std::string& text) {
  const fs::path sealing = recording.model.string() + ".sealing";
  {
    std::ofstream out(sealing, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) throw ToolError(kExitUnusable, "cannot write " + sealing.string());
  }
  std::error_code error;
  fs::rename(sealing, recording.model, error);
  if (error) {
    fs::remove(sealing, error);
    throw ToolError(kExitUnusable, "cannot replace " + recording.model.string());
  }
}

// A recording killed before it opened its data file reads nothing from it.
void createEmptyData(const Recording& recording) {
  if (!std::ofstream(recording.data, std::ios::binary)) {
    throw ToolError(kExitUnusable, "cannot create " + recording.data.string());
  }
  std::cout << "created the empty data file " << recording.data.string()
            << ": the application ended before it opened it\n";
}

// Blobs past what the program reads belong to calls whose blocks never
// reached the model file.
void cutData(const Recording& recording) {
  if (!recording.dataFileBytes) return createEmptyData(recording);
  if (*recording.dataFileBytes == recording.bytesRead) return;
  std::error_code error;
  fs::resize_file(recording.data, recording.bytesRead, error);
  if (error) throw ToolError(kExitUnusable, "cannot cut " + recording.data.string());
  std::cout << "cut " << recording.data.string() << " from " << *recording.dataFileBytes << " to "
            << recording.bytesRead << " bytes: the rest belonged to calls not recorded whole\n";
}

}  // namespace

int runSeal(const Options& options) {
  const Recording recording = loadRecording(options.location);
  requireSealable(recording);
  const auto& blocks = recording.body.blocks;
  const std::size_t keep = blocks.empty() ? recording.frame.bodyBegin : blocks.back().end();
  replaceModel(recording, recording.text->substr(0, keep) + zeb::modelFooter());
  const auto& partial = recording.body.partial;
  if (!partial.empty()) {
    std::cout << "cut the partial block at line " << partial.front().line << " ("
              << recording.frame.bodyEnd - keep << " bytes)\n";
  }
  if (recording.frame.footerCut) {
    std::cout << "cut the footer cut short at line " << recording.frame.footerLine << " ("
              << recording.text->size() - recording.frame.bodyEnd << " bytes)\n";
  }
  cutData(recording);
  std::cout << "appended the footer to " << recording.model.string() << ": "
            << recording.callCount() << " calls replay\n";
  return 0;
}

}  // namespace zeb::tool
