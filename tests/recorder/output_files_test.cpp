#include "recorder/output_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

class OutputFilesTest : public ::testing::Test {
 protected:
  ScopedTempDir dir_;
  StreamOpsOverride streams_;
  LogCapture log_;
};

TEST_F(OutputFilesTest, OpenCreatesTheDirectoryAndAddsTheSlash) {
  ModelFile model("out", "m.c");
  ASSERT_TRUE(model.open());
  EXPECT_EQ(model.directory(), "out/");
  EXPECT_TRUE(std::filesystem::is_directory("out"));
  EXPECT_TRUE(std::filesystem::exists("out/m.c"));
  DataFile data("out/", "d.bin");
  ASSERT_TRUE(data.open());
  EXPECT_EQ(data.directory(), "out/");
  EXPECT_TRUE(log_.texts().empty());
}

TEST_F(OutputFilesTest, OpenRefusesASecondOpen) {
  DataFile data(".", "d.bin");
  ASSERT_TRUE(data.open());
  EXPECT_FALSE(data.open());
  EXPECT_TRUE(data.isOpen());
  EXPECT_EQ(log_.texts(), Texts{"File has already been opened"});
}

TEST_F(OutputFilesTest, OpenFailuresAreLogged) {
  std::ofstream("plain") << "x";
  struct Case {
    const char* directory;
    std::string message;
  } cases[] = {
      {"plain", "plain already exists"},
      {"missing/deeper", "Could not create directory, pal::Directory::create failed"},
  };
  for (const auto& c : cases) {
    log_.clear();
    DataFile data(c.directory, "d.bin");
    EXPECT_FALSE(data.open());
    EXPECT_FALSE(data.isOpen());
    EXPECT_EQ(log_.texts(), Texts{c.message}) << c.directory;
  }
}

TEST_F(OutputFilesTest, FailedStreamOpenNamesTheFullPath) {
  streams_.ops().open = StreamOpsOverride::failOpen;
  ModelFile model("out", "m.c");
  EXPECT_FALSE(model.open());
  EXPECT_FALSE(model.isOpen());
  EXPECT_EQ(model.directory(), "out/");  // the slash stays
  EXPECT_EQ(log_.texts(), Texts{"Could not open file: out/m.c"});
}

// Records the mode of every open, then opens for real.
std::string lastMode;
std::FILE* recordMode(const char* path, const char* mode) {
  lastMode = mode;
  return std::fopen(path, mode);
}

TEST_F(OutputFilesTest, ModesFollowTheFlags) {
  streams_.ops().open = recordMode;
  const struct {
    bool flag;
    const char* modelMode;
    const char* dataMode;
  } cases[] = {{true, "wb", "ab"}, {false, "ab", "wb"}};
  for (const auto& c : cases) {
    ModelFile model(".", "m.c");
    model.writeHeader = c.flag;
    ASSERT_TRUE(model.open());
    EXPECT_EQ(lastMode, c.modelMode);
    DataFile data(".", "d.bin");
    data.append = c.flag;
    ASSERT_TRUE(data.open());
    EXPECT_EQ(lastMode, c.dataMode);
  }
}

TEST_F(OutputFilesTest, DataFileTruncatesOrAppends) {
  {
    DataFile data(".", "d.bin");
    ASSERT_TRUE(data.open());
    ASSERT_TRUE(data.writeElements("abcd", 2, 2));
  }
  {
    DataFile data(".", "d.bin");
    data.append = true;
    ASSERT_TRUE(data.open());
    ASSERT_TRUE(data.writeElements("efgh", 4, 1));
  }
  EXPECT_EQ(readFile("d.bin"), "abcdefgh");
  {
    DataFile data(".", "d.bin");
    ASSERT_TRUE(data.open());
  }
  EXPECT_EQ(readFile("d.bin"), "");
}

TEST_F(OutputFilesTest, WriteStringWritesAndFlushesAtOnce) {
  ModelFile model(".", "m.c");
  model.writeFooter = false;
  ASSERT_TRUE(model.open());
  ASSERT_TRUE(model.writeString("one\n"));
  EXPECT_EQ(readFile("m.c"), "one\n");  // visible before closing
  ASSERT_TRUE(model.writeString(""));
  ASSERT_TRUE(model.writeString("two\n"));
  EXPECT_EQ(readFile("m.c"), "one\ntwo\n");
}

TEST_F(OutputFilesTest, WriteFailuresAreLogged) {
  struct Case {
    const char* what;
    decltype(pal::StreamOps::write) write;
    decltype(pal::StreamOps::flush) flush;
    std::string modelMessage;
    std::string dataMessage;
  } cases[] = {
      {"short write", StreamOpsOverride::writeOneLess, pal::defaultStreamOps().flush,
       "Size of string written(4) does not match size of original string(5)",
       "Number of elements written(2) does not match number of elements requested(3)"},
      {"nothing written", StreamOpsOverride::writeNothing, pal::defaultStreamOps().flush,
       "Size of string written(0) does not match size of original string(5)",
       "Number of elements written(0) does not match number of elements requested(3)"},
      {"flush", pal::defaultStreamOps().write, StreamOpsOverride::failFlush,
       "Failed to flush the file stream", "Failed to flush the file stream"},
  };
  const uint16_t elements[3] = {1, 2, 3};
  for (const auto& c : cases) {
    ModelFile model(".", "m.c");
    model.writeFooter = false;
    DataFile data(".", "d.bin");
    ASSERT_TRUE(model.open());
    ASSERT_TRUE(data.open());
    streams_.ops().write = c.write;
    streams_.ops().flush = c.flush;
    log_.clear();
    EXPECT_FALSE(model.writeString("12345")) << c.what;
    EXPECT_FALSE(data.writeElements(elements, sizeof elements[0], 3)) << c.what;
    EXPECT_EQ(log_.texts(), (Texts{c.modelMessage, c.dataMessage})) << c.what;
    streams_.ops() = pal::defaultStreamOps();
  }
}

TEST_F(OutputFilesTest, WritesOnAClosedFileAreRefused) {
  ModelFile model(".", "m.c");
  DataFile data(".", "d.bin");
  EXPECT_FALSE(model.writeString("x"));
  EXPECT_FALSE(model.writeModelHeader("d.bin"));
  EXPECT_FALSE(model.writeModelFooter());
  EXPECT_FALSE(data.writeElements("x", 1, 1));
  EXPECT_EQ(log_.texts(), Texts(4, "Could not write data, FILE* is NULL"));
  EXPECT_FALSE(std::filesystem::exists("m.c"));
}

TEST_F(OutputFilesTest, HeaderAndFooterFollowTheirFlags) {
  ModelFile model(".", "m.c");
  ASSERT_TRUE(model.open());
  ASSERT_TRUE(model.writeModelHeader("d.bin"));
  ASSERT_TRUE(model.writeModelFooter());
  EXPECT_EQ(readFile("m.c"), modelHeader("d.bin") + modelFooter());
  model.writeHeader = false;
  model.writeFooter = false;
  EXPECT_TRUE(model.writeModelHeader("d.bin"));
  EXPECT_TRUE(model.writeModelFooter());
  EXPECT_EQ(readFile("m.c"), modelHeader("d.bin") + modelFooter());
}

TEST_F(OutputFilesTest, CloseReportsMissingStreamAndFailure) {
  DataFile data(".", "d.bin");
  EXPECT_FALSE(data.close());
  ASSERT_TRUE(data.open());
  EXPECT_TRUE(data.close());
  EXPECT_FALSE(data.isOpen());
  ASSERT_TRUE(data.open());
  streams_.ops().close = StreamOpsOverride::closeButFail;
  EXPECT_FALSE(data.close());
  EXPECT_FALSE(data.isOpen());
  EXPECT_EQ(log_.texts(),
            (Texts{"Could not close file, FILE* is NULL", "Failed to close the file"}));
}

TEST_F(OutputFilesTest, DestructionWritesTheFooterAndCloses) {
  {
    ModelFile model(".", "m.c");
    ASSERT_TRUE(model.open());
    ASSERT_TRUE(model.writeString("body\n"));
  }
  EXPECT_EQ(readFile("m.c"), "body\n" + modelFooter());
  {
    ModelFile model(".", "n.c");
    model.writeFooter = false;
    ASSERT_TRUE(model.open());
    ASSERT_TRUE(model.writeString("body\n"));
  }
  EXPECT_EQ(readFile("n.c"), "body\n");
  {
    ModelFile neverOpened(".", "o.c");
    DataFile alsoNeverOpened(".", "o.bin");
  }
  EXPECT_TRUE(log_.texts().empty());
}

TEST_F(OutputFilesTest, FailingCloseAtDestructionIsLogged) {
  {
    ModelFile model(".", "m.c");
    DataFile data(".", "d.bin");
    ASSERT_TRUE(model.open());
    ASSERT_TRUE(data.open());
    streams_.ops().close = StreamOpsOverride::closeButFail;
  }
  EXPECT_EQ(log_.texts(), (Texts{"Failed to close the file", "Failed to close the file"}));
  EXPECT_EQ(readFile("m.c"), modelFooter());
}

TEST_F(OutputFilesTest, SetLocationTakesEffectAtTheNextOpen) {
  DataFile data("a", "x.bin");
  data.setLocation("b", "y.bin");
  ASSERT_TRUE(data.open());
  EXPECT_TRUE(std::filesystem::exists("b/y.bin"));
  EXPECT_FALSE(std::filesystem::exists("a"));
}

}  // namespace
}  // namespace zeb
