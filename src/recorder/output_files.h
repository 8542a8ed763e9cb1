// The model file (the written C program) and the data file (bulk data).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zeb {

// Shared by both files: a C stream opened inside a directory that is created
// on demand, and held by one recorder at a time.
class OutputFile {
 public:
  OutputFile(std::string directory, std::string name);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  // Bytes in the file: what it held when opened for appending, and every
  // write since.
  uint64_t length() const { return length_; }
  // Cuts the file back to an earlier length, dropping what was written since.
  bool cutBack(uint64_t length);
  // Gives the object a new location; takes effect at the next open.
  void setLocation(const std::string& directory, const std::string& name);
  const std::string& directory() const { return directory_; }
  std::string path() const { return directory_ + name_; }
  // Closes the stream; false (and logged) when none is open or closing fails.
  bool close();
  // Closes the stream without a word, writing nothing: a forked process lets
  // go of its copy of the parent's file this way.
  void abandon();

 protected:
  // Opens the file, claims it as this recorder's output (a file that another
  // recorder holds is left as it is) and, unless keepContents, empties it.
  bool openClaimed(bool keepContents);
  // One write of count elements of size bytes, then a flush. A write that
  // fails leaves the file as it was before.
  bool writeAndFlush(const void* buffer, std::size_t size, std::size_t count, bool countBytes);
  // Closes at destruction, logging a failure.
  void closeQuietly();

 private:
  bool claim(const std::string& path);

  std::FILE* file_ = nullptr;
  uint64_t length_ = 0;
  std::string directory_;
  std::string name_;
};

class ModelFile : public OutputFile {
 public:
  using OutputFile::OutputFile;
  ~ModelFile();

  bool writeHeader = true;
  bool writeFooter = true;

  // Emptied with the header on, continued without.
  bool open();
  bool writeString(std::string_view text);
  // The model header naming the data file; nothing (and true) when writeHeader is clear.
  bool writeModelHeader(const std::string& dataFileName);
  // The model footer; nothing (and true) when writeFooter is clear.
  bool writeModelFooter();
};

class DataFile : public OutputFile {
 public:
  using OutputFile::OutputFile;
  ~DataFile();

  bool append = false;

  // Continued when appending, emptied otherwise.
  bool open();
  bool writeElements(const void* buffer, uint64_t elementSize, uint64_t elementCount);
};

}  // namespace zeb
