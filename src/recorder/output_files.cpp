#include "recorder/output_files.h"

#include "log/logger.h"
#include "pal/pal.h"
#include "recorder/model_frame.h"

namespace zeb {

OutputFile::OutputFile(std::string directory, std::string name)
    : directory_(std::move(directory)), name_(std::move(name)) {}

// The derived files close themselves, each in its own way.
OutputFile::~OutputFile() = default;

void OutputFile::setLocation(const std::string& directory, const std::string& name) {
  directory_ = directory;
  name_ = name;
}

bool OutputFile::openClaimed(bool keepContents) {
  if (file_) {
    log::error("File has already been opened");
    return false;
  }
  if (pal::exists(directory_)) {
    if (!pal::isDirectory(directory_)) {
      log::error("%s already exists", directory_.c_str());
      return false;
    }
  } else if (!pal::Directory::create(directory_)) {
    log::error("Could not create directory, pal::Directory::create failed");
    return false;
  }
  if (!directory_.empty() && directory_.back() != '/') directory_ += '/';
  const std::string path = directory_ + name_;
  file_ = pal::streamOps().open(path.c_str());
  if (!file_) {
    log::error("Could not open file: %s", path.c_str());
    return false;
  }
  if (!claim(path)) return false;
  length_ = pal::fileSize(path);
  if (keepContents || length_ == 0) return true;
  if (pal::streamOps().truncate(file_, 0) != 0) {
    log::error("Could not empty file: %s", path.c_str());
    abandon();
    return false;
  }
  length_ = 0;
  return true;
}

// Another recorder's file is closed again untouched: two recordings in one
// file would make a program that replays neither.
bool OutputFile::claim(const std::string& path) {
  unsigned long holder = 0;
  switch (pal::claimStream(file_, holder)) {
    case pal::Claim::kTaken:
      return true;
    case pal::Claim::kUnavailable:
      log::warning("Could not lock %s: another process could record into it too", path.c_str());
      return true;
    case pal::Claim::kHeld:
      break;
  }
  if (holder != 0) {
    log::error("%s is being recorded by process %lu: this process records nothing into it",
               path.c_str(), holder);
  } else {
    log::error("%s is being recorded by another process: this process records nothing into it",
               path.c_str());
  }
  abandon();
  return false;
}

bool OutputFile::writeAndFlush(const void* buffer, std::size_t size, std::size_t count,
                               bool countBytes) {
  if (!file_) {
    log::error("Could not write data, FILE* is NULL");
    return false;
  }
  const uint64_t before = length_;
  const std::size_t written = pal::streamOps().write(buffer, size, count, file_);
  if (written != count) {
    log::error(countBytes
                   ? "Size of string written(%ld) does not match size of original string(%ld)"
                   : "Number of elements written(%ld) does not match number of elements requested(%ld)",
               static_cast<long>(written), static_cast<long>(count));
    cutBack(before);
    return false;
  }
  if (pal::streamOps().flush(file_) != 0) {
    log::error("Failed to flush the file stream");
    cutBack(before);
    return false;
  }
  length_ = before + static_cast<uint64_t>(size) * count;
  return true;
}

bool OutputFile::cutBack(uint64_t length) {
  if (!file_) return false;
  if (pal::streamOps().truncate(file_, length) != 0) {
    log::error("Could not cut the file back to its last whole block");
    return false;
  }
  length_ = length;
  return true;
}

bool OutputFile::close() {
  if (!file_) {
    log::error("Could not close file, FILE* is NULL");
    return false;
  }
  const int result = pal::streamOps().close(file_);
  file_ = nullptr;
  if (result != 0) {
    log::error("Failed to close the file");
    return false;
  }
  return true;
}

void OutputFile::closeQuietly() {
  if (file_) close();
}

void OutputFile::abandon() {
  if (file_) pal::streamOps().close(file_);
  file_ = nullptr;
}

ModelFile::~ModelFile() {
  if (isOpen()) {
    writeModelFooter();
    closeQuietly();
  }
}

bool ModelFile::open() { return openClaimed(!writeHeader); }

bool ModelFile::writeString(std::string_view text) {
  return writeAndFlush(text.data(), 1, text.size(), true);
}

bool ModelFile::writeModelHeader(const std::string& dataFileName) {
  return !writeHeader || writeString(modelHeader(dataFileName));
}

bool ModelFile::writeModelFooter() { return !writeFooter || writeString(modelFooter()); }

DataFile::~DataFile() { closeQuietly(); }

bool DataFile::open() { return openClaimed(append); }

bool DataFile::writeElements(const void* buffer, uint64_t elementSize, uint64_t elementCount) {
  return writeAndFlush(buffer, static_cast<std::size_t>(elementSize),
                       static_cast<std::size_t>(elementCount), false);
}

}  // namespace zeb
