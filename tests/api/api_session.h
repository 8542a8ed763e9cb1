// What the entry-point tests share: a fresh recorder writing into a temporary
// directory, and checks of what reached the output.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "api/client_handle.h"
#include "recorder/model_frame.h"
#include "recorder/recorder.h"
#include "support/scoped_temp_dir.h"

namespace zeb::test {

// A handle value that no record is registered under.
inline constexpr uint64_t kUnknownHandle = 0x5eed;

template <class Handle>
Handle unknownHandle() {
  return clientHandle<Handle>(kUnknownHandle);
}

struct ApiSession {
  ApiSession() { recorder.setOutputDirectory(output().string() + "/"); }

  std::filesystem::path output() const { return directory.path() / "scribe_output"; }

  // Makes every start fail: the output directory's path names a regular file.
  void blockOutput() {
    std::ofstream(output()) << "not a directory";
    recorder.setOutputDirectory(output().string());
  }

  // A context, and a graph in it, registered without recording anything.
  Zeb_ContextHandle_t knownContext() {
    if (context == 0) context = recorder.createContext();
    return clientHandle<Zeb_ContextHandle_t>(context);
  }
  Zeb_GraphHandle_t knownGraph() {
    const uint64_t owner = handleValue(knownContext());
    const uint64_t graph = recorder.findContext(owner)->createGraph("graph_0", "known");
    recorder.recordGraphOwner(graph, owner);
    return clientHandle<Zeb_GraphHandle_t>(graph);
  }

  // Started: the model file holds the header alone and the data file is empty.
  // Not started: no output at all.
  void expectNothingRecorded() const {
    if (!recorder.started()) {
      EXPECT_FALSE(std::filesystem::is_directory(output()));
      return;
    }
    EXPECT_EQ(readFile(output() / recorder.modelFileName()), modelHeader(recorder.dataFileName()));
    EXPECT_TRUE(std::filesystem::exists(output() / recorder.dataFileName()));
    EXPECT_EQ(readFile(output() / recorder.dataFileName()), "");
  }

  // Destroyed in reverse: the recorder finishes its files before the directory goes.
  ScopedTempDir directory;
  Recorder recorder;
  uint64_t context = 0;
};

}  // namespace zeb::test
