#include "scribe_session.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "ZebScribe.h"

namespace zeb::bench {
namespace {

// The output goes under the working directory, beside whatever runs the bench.
constexpr const char* kDirectory = "zeb_bench_output/";

void configure(const ZebScribe_Config_t* option) {
  const ZebScribe_Config_t* options[] = {option, nullptr};
  if (ZebScribe_initialize(options) != 0) throw std::runtime_error("ZebScribe_initialize refused");
}

}  // namespace

ScribeSession& ScribeSession::instance() {
  static ScribeSession session;
  return session;
}

ScribeSession::ScribeSession() : directory_(kDirectory) {
  std::filesystem::remove_all(directory_);
  std::filesystem::create_directories(directory_);
  ZebScribe_Config_t output{};
  output.option = ZEB_SCRIBE_CONFIG_OPTION_OUTPUT_DIRECTORY;
  output.outputDirectory = kDirectory;
  configure(&output);
  startFiles("start");
  const ZebInterface_t** providers = nullptr;
  uint32_t count = 0;
  if (ZebInterface_getProviders(&providers, &count) != 0 || count == 0)
    throw std::runtime_error("no provider");
  api_ = &providers[0]->v2_15;
  if (api_->backendCreate(nullptr, nullptr, &backend_) != 0)
    throw std::runtime_error("backendCreate failed");
}

void ScribeSession::switchTo(const std::string& model, const std::string& data) {
  ZebScribe_Config_t files{};
  files.option = ZEB_SCRIBE_CONFIG_OPTION_FILE_CONFIG;
  files.fileConfig = {model.c_str(), data.c_str()};
  configure(&files);
  modelName_ = model;
  dataName_ = data;
}

void ScribeSession::startFiles(const std::string& tag) {
  const std::string oldModel = modelPath(), oldData = dataPath();
  const bool hadFiles = !modelName_.empty();
  const std::string suffix = tag + "_" + std::to_string(generation_++);
  switchTo("model_" + suffix + ".c", "data_" + suffix + ".bin");
  if (hadFiles) {
    std::filesystem::remove(oldModel);
    std::filesystem::remove(oldData);
  }
}

std::string ScribeSession::finishFiles() {
  const std::string finished = modelPath();
  const std::string suffix = "next_" + std::to_string(generation_++);
  switchTo("model_" + suffix + ".c", "data_" + suffix + ".bin");
  return finished;
}

uint64_t fileLength(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0 : static_cast<uint64_t>(size);
}

std::string readBytes(const std::string& path, uint64_t from, uint64_t to) {
  std::ifstream file(path, std::ios::binary);
  file.seekg(static_cast<std::streamoff>(from));
  std::string bytes(static_cast<std::size_t>(to - from), '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

}  // namespace zeb::bench
