#include "recorder/recorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "pal/stream_ops_override.h"
#include "recorder/model_frame.h"
#include "support/log_capture.h"
#include "support/scoped_temp_dir.h"

namespace zeb {
namespace {

using test::LogCapture;
using test::readFile;
using test::ScopedTempDir;
using test::StreamOpsOverride;
using Texts = std::vector<std::string>;

const char* const kModelPath = "scribe_output/scribe_output.c";
const char* const kDataPath = "scribe_output/params.bin";

class RecorderTest : public ::testing::Test {
 protected:
  ScopedTempDir dir_;
  StreamOpsOverride streams_;
  LogCapture log_;
};

TEST_F(RecorderTest, StartCreatesTheDirectoryHeaderAndEmptyDataFile) {
  Recorder recorder;
  EXPECT_FALSE(recorder.started());
  EXPECT_FALSE(std::filesystem::exists("scribe_output"));
  ASSERT_EQ(recorder.start(), 0u);
  EXPECT_TRUE(recorder.started());
  EXPECT_EQ(readFile(kModelPath), modelHeader("params.bin"));
  EXPECT_TRUE(std::filesystem::exists(kDataPath));
  EXPECT_EQ(std::filesystem::file_size(kDataPath), 0u);
  EXPECT_EQ(recorder.start(), 0u);  // already started: nothing is opened again
  EXPECT_TRUE(log_.texts().empty());
}

TEST_F(RecorderTest, StartUsesTheConfiguredLocation) {
  Recorder recorder;
  recorder.setOutputDirectory("out");
  recorder.setFileNames("m.c", "d.bin");
  ASSERT_EQ(recorder.start(), 0u);
  EXPECT_EQ(readFile("out/m.c"), modelHeader("d.bin"));
  EXPECT_TRUE(std::filesystem::exists("out/d.bin"));
  EXPECT_EQ(recorder.outputDirectory(), "out");  // only the file objects add the slash
}

TEST_F(RecorderTest, StartWithoutHeaderAppendsAndWritesNothing) {
  std::filesystem::create_directory("scribe_output");
  std::ofstream(kModelPath, std::ios::binary) << "earlier\n";
  std::ofstream(kDataPath, std::ios::binary) << "blob";
  Recorder recorder;
  recorder.modelFile().writeHeader = false;
  recorder.dataFile().append = true;
  ASSERT_EQ(recorder.start(), 0u);
  EXPECT_EQ(readFile(kModelPath), "earlier\n");
  EXPECT_EQ(readFile(kDataPath), "blob");
}

TEST_F(RecorderTest, StartFailsWhileTheDirectoryIsAFileAndRetries) {
  std::ofstream("scribe_output") << "x";
  Recorder recorder;
  EXPECT_EQ(recorder.start(), 4000u);
  EXPECT_EQ(recorder.start(), 4000u);
  EXPECT_FALSE(recorder.started());
  EXPECT_EQ(log_.texts(), Texts(2, "./scribe_output/ already exists"));
  std::filesystem::remove("scribe_output");
  EXPECT_EQ(recorder.start(), 0u);
  EXPECT_TRUE(recorder.started());
}

TEST_F(RecorderTest, StartFailsWhileTheParentIsMissingAndRetries) {
  Recorder recorder;
  recorder.setOutputDirectory("parent/out");
  EXPECT_EQ(recorder.start(), 4000u);
  EXPECT_FALSE(recorder.started());
  EXPECT_EQ(log_.texts(), Texts{"Could not create directory, pal::Directory::create failed"});
  std::filesystem::create_directory("parent");
  EXPECT_EQ(recorder.start(), 0u);
  EXPECT_TRUE(std::filesystem::exists("parent/out/params.bin"));
}

TEST_F(RecorderTest, FailedHeaderLeavesTheModelFileOpen) {
  Recorder recorder;
  streams_.ops().write = StreamOpsOverride::writeNothing;
  EXPECT_EQ(recorder.start(), 4000u);
  streams_.ops() = pal::defaultStreamOps();
  EXPECT_EQ(recorder.start(), 4000u);
  EXPECT_FALSE(recorder.started());
  ASSERT_EQ(log_.texts().size(), 2u);
  EXPECT_EQ(log_.texts()[1], "File has already been opened");
  EXPECT_FALSE(std::filesystem::exists(kDataPath));
}

TEST_F(RecorderTest, FailedDataFileOpenFailsTheStart) {
  Recorder recorder;
  streams_.ops().open = [](const char* path, const char* mode) -> std::FILE* {
    return std::string(path).find("params.bin") == std::string::npos ? std::fopen(path, mode)
                                                                       : nullptr;
  };
  EXPECT_EQ(recorder.start(), 4000u);
  EXPECT_EQ(log_.texts(), Texts{"Could not open file: ./scribe_output/params.bin"});
}

TEST_F(RecorderTest, WritesGoToTheModelAndDataFiles) {
  Recorder recorder;
  EXPECT_FALSE(recorder.writeModel("early\n"));
  ASSERT_EQ(recorder.start(), 0u);
  ASSERT_TRUE(recorder.writeModel("   block;\n\n"));
  ASSERT_TRUE(recorder.writeData("abcdef", 2, 3));
  ASSERT_TRUE(recorder.writeData("gh", 1, 2));
  EXPECT_EQ(readFile(kModelPath), modelHeader("params.bin") + "   block;\n\n");
  EXPECT_EQ(readFile(kDataPath), "abcdefgh");
}

// Logs every open, write and close with the file's name, then does it.
std::map<std::FILE*, std::string> openFiles;
std::vector<std::string> events;

std::FILE* openLogged(const char* path, const char* mode) {
  std::FILE* file = std::fopen(path, mode);
  openFiles[file] = std::filesystem::path(path).filename().string();
  return file;
}
std::size_t writeLogged(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
  events.push_back("write " + openFiles[file]);
  return std::fwrite(buffer, size, count, file);
}
int closeLogged(std::FILE* file) {
  events.push_back("close " + openFiles[file]);
  return std::fclose(file);
}

TEST_F(RecorderTest, DestructionClosesTheDataFileBeforeFinishingTheModel) {
  streams_.ops().open = openLogged;
  streams_.ops().write = writeLogged;
  streams_.ops().close = closeLogged;
  {
    Recorder recorder;
    ASSERT_EQ(recorder.start(), 0u);
    ASSERT_TRUE(recorder.writeModel("   body;\n"));
    events.clear();
  }
  EXPECT_EQ(events, (Texts{"close params.bin", "write scribe_output.c", "close scribe_output.c"}));
  EXPECT_EQ(readFile(kModelPath), modelHeader("params.bin") + "   body;\n" + modelFooter());
}

TEST_F(RecorderTest, DestructionWithoutFooterOrStartWritesNothing) {
  {
    Recorder recorder;
    recorder.modelFile().writeFooter = false;
    ASSERT_EQ(recorder.start(), 0u);
  }
  EXPECT_EQ(readFile(kModelPath), modelHeader("params.bin"));
  { Recorder neverStarted; }
  EXPECT_EQ(readFile(kModelPath), modelHeader("params.bin"));
  EXPECT_TRUE(log_.texts().empty());
}

TEST_F(RecorderTest, VariableNamesCountPerPrefix) {
  Recorder recorder;
  EXPECT_EQ(recorder.makeVariableName("backend"), "backend_0");
  EXPECT_EQ(recorder.makeVariableName("backend"), "backend_1");
  EXPECT_EQ(recorder.makeVariableName("context"), "context_0");
  EXPECT_EQ(recorder.makeVariableName("backend"), "backend_2");
  EXPECT_EQ(recorder.makeVariableName(""), "_0");
}

TEST_F(RecorderTest, RegistrationNamesRecordsAndGivesDistinctHandles) {
  Recorder recorder;
  const uint64_t context0 = recorder.createContext();
  const uint64_t context1 = recorder.createContext();
  const uint64_t device = recorder.createDevice();
  const uint64_t profile = recorder.createProfile();
  const std::set<uint64_t> handles{context0, context1, device, profile};
  EXPECT_EQ(handles.size(), 4u);
  EXPECT_EQ(handles.count(0), 0u);
  EXPECT_EQ(recorder.findContext(context0)->name, "context_0");
  EXPECT_EQ(recorder.findContext(context1)->name, "context_1");
  EXPECT_EQ(recorder.findDevice(device)->name, "device_0");
  EXPECT_EQ(recorder.findProfile(profile)->name, "profile_0");
  // Each kind has its own map.
  EXPECT_EQ(recorder.findDevice(context0), nullptr);
  EXPECT_EQ(recorder.findProfile(device), nullptr);
  EXPECT_EQ(recorder.findContext(profile), nullptr);
  EXPECT_EQ(recorder.findContext(0), nullptr);
}

TEST(MakeHandle, NullGivesZeroAndAddressesGiveDistinctNonZeroHandles) {
  EXPECT_EQ(makeHandle(nullptr), 0u);
  std::vector<int> objects(1000);
  std::set<uint64_t> handles;
  for (const int& object : objects) {
    const uint64_t handle = makeHandle(&object);
    EXPECT_NE(handle, 0u);
    EXPECT_NE(handle, reinterpret_cast<uintptr_t>(&object));
    handles.insert(handle);
  }
  EXPECT_EQ(handles.size(), objects.size());
  EXPECT_EQ(makeHandle(&objects[0]), makeHandle(&objects[0]));
}

TEST_F(RecorderTest, GraphsAreFoundThroughTheirOwningContext) {
  Recorder recorder;
  const uint64_t contextHandle = recorder.createContext();
  const auto context = recorder.findContext(contextHandle);
  const uint64_t graphHandle = context->createGraph("context_0_g", "g");
  ASSERT_NE(graphHandle, 0u);
  EXPECT_EQ(context->graphNames, std::set<std::string>{"context_0_g"});
  EXPECT_EQ(recorder.findGraph(graphHandle), nullptr);  // no owner recorded yet
  recorder.recordGraphOwner(graphHandle, contextHandle);
  EXPECT_EQ(recorder.graphOwner(graphHandle), contextHandle);
  const auto graph = recorder.findGraph(graphHandle);
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(graph->name, "context_0_g");
  EXPECT_EQ(graph->graphName, "g");
  EXPECT_EQ(graph->context, context.get());
  // An owner that names a context without the graph finds nothing.
  recorder.recordGraphOwner(graphHandle, recorder.createContext());
  EXPECT_EQ(recorder.findGraph(graphHandle), nullptr);
  EXPECT_EQ(recorder.findGraph(0), nullptr);
}

TEST(ScribeContext, FindsGraphsByHandleAndByPredicate) {
  ScribeContext context("context_0");
  const uint64_t a = context.createGraph("context_0_a", "a");
  const uint64_t b = context.createGraph("context_0_b", "b");
  EXPECT_NE(a, b);
  EXPECT_EQ(context.findGraph(b)->name, "context_0_b");
  EXPECT_EQ(context.findGraph(a + b), nullptr);
  const auto [handle, graph] =
      context.findGraphIf([](const ScribeGraph& g) { return g.name == "context_0_a"; });
  EXPECT_EQ(handle, a);
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(graph->graphName, "a");
  const auto none = context.findGraphIf([](const ScribeGraph&) { return false; });
  EXPECT_EQ(none.first, 0u);
  EXPECT_EQ(none.second, nullptr);
}

TEST_F(RecorderTest, ReleasingAContextRecordsItErasesItAndItsGraphOwners) {
  Recorder recorder;
  const uint64_t kept = recorder.createContext();
  const uint64_t freed = recorder.createContext();
  const uint64_t keptGraph = recorder.findContext(kept)->createGraph("k", "k");
  const uint64_t graphs[] = {recorder.findContext(freed)->createGraph("a", "a"),
                             recorder.findContext(freed)->createGraph("b", "b")};
  recorder.recordGraphOwner(keptGraph, kept);
  for (const uint64_t graph : graphs) recorder.recordGraphOwner(graph, freed);

  std::string recordedName;
  EXPECT_EQ(recorder.releaseContext(freed,
                                    [&](ScribeContext& context) {
                                      recordedName = context.name;
                                      return Zeb_ErrorHandle_t{5999};
                                    }),
            5999u);  // the recording's result is passed on
  EXPECT_EQ(recordedName, "context_1");
  EXPECT_EQ(recorder.findContext(freed), nullptr);
  for (const uint64_t graph : graphs) {
    EXPECT_EQ(recorder.graphOwner(graph), 0u);
    EXPECT_EQ(recorder.findGraph(graph), nullptr);
  }
  EXPECT_NE(recorder.findGraph(keptGraph), nullptr);
  EXPECT_TRUE(log_.texts().empty());

  // Names are never given back.
  EXPECT_EQ(recorder.findContext(recorder.createContext())->name, "context_2");
}

TEST_F(RecorderTest, ReleasingUnknownRecordsIsRefused) {
  Recorder recorder;
  bool called = false;
  const auto recordContext = [&](ScribeContext&) { return called = true, Zeb_ErrorHandle_t{0}; };
  const auto recordProfile = [&](ScribeProfile&) { return called = true, Zeb_ErrorHandle_t{0}; };
  EXPECT_EQ(recorder.releaseContext(12345, recordContext), 5002u);
  EXPECT_EQ(recorder.releaseProfile(12345, recordProfile), 12000u);
  const uint64_t profile = recorder.createProfile();
  EXPECT_EQ(recorder.releaseContext(profile, recordContext), 5002u);
  EXPECT_FALSE(called);
  EXPECT_EQ(log_.texts(), (Texts{"No context associated with the provided handle.",
                                 "No profile associated with the provided handle.",
                                 "No context associated with the provided handle."}));
}

TEST_F(RecorderTest, ReleasingAProfileRecordsAndErasesIt) {
  Recorder recorder;
  const uint64_t profile = recorder.createProfile();
  std::string recordedName;
  EXPECT_EQ(recorder.releaseProfile(profile,
                                    [&](ScribeProfile& record) {
                                      recordedName = record.name;
                                      return Zeb_ErrorHandle_t{0};
                                    }),
            0u);
  EXPECT_EQ(recordedName, "profile_0");
  EXPECT_EQ(recorder.findProfile(profile), nullptr);
  EXPECT_EQ(recorder.releaseProfile(profile, [](ScribeProfile&) { return Zeb_ErrorHandle_t{0}; }),
            12000u);
}

TEST_F(RecorderTest, BackendHandlesCountFromOne) {
  Recorder recorder;
  EXPECT_EQ(recorder.addBackend("backend_0"), 1u);
  EXPECT_EQ(recorder.addBackend("backend_1"), 2u);
  EXPECT_EQ(recorder.findBackendName(2), "backend_1");
  EXPECT_TRUE(recorder.eraseBackend(1));
  EXPECT_FALSE(recorder.eraseBackend(1));
  EXPECT_EQ(recorder.findBackendName(1), "");
  EXPECT_EQ(recorder.findBackendName(0), "");
  EXPECT_EQ(recorder.addBackend("backend_2"), 3u);  // handles are not reused
}

}  // namespace
}  // namespace zeb
