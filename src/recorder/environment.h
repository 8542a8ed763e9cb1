// The recorder's configuration from the environment, for applications that
// cannot call ZebScribe_initialize. Read once, when the recorder is made.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zeb {

struct EnvironmentSettings {
  std::optional<std::string> outputDirectory;
  std::optional<std::string> modelFileName;
  std::optional<std::string> dataFileName;
  bool timestamp = false;
  std::optional<bool> writeHeader;
  std::optional<bool> writeFooter;
  std::optional<uint32_t> backendId;
  std::optional<std::string> forwardLibrary;
  // Why a value cannot be used, naming its variable; empty when every one can.
  std::string refusal;
};

EnvironmentSettings readEnvironment();

}  // namespace zeb
