#include "recorder/environment.h"

#include <charconv>

#include "pal/pal.h"
#include "recorder/recorder.h"

namespace zeb {
namespace {

// Each reader takes a value into the settings, or says why it cannot be used.
using Reader = std::string (*)(const std::string& value, EnvironmentSettings& settings);

std::string path(const std::string& value, std::optional<std::string>& setting) {
  if (value.empty()) return "it is empty";
  setting = value;
  return "";
}

std::string fileName(const std::string& value, std::optional<std::string>& setting) {
  if (value.empty()) return "it is empty";
  if (value.find_first_of("/\\") != std::string::npos)
    return "a file name holds no slash or backslash";
  setting = value;
  return "";
}

std::string flag(const std::string& value, bool& setting) {
  if (value != "0" && value != "1") return "it must be 0 or 1";
  setting = value == "1";
  return "";
}

std::string flag(const std::string& value, std::optional<bool>& setting) {
  bool on = false;
  std::string refusal = flag(value, on);
  if (refusal.empty()) setting = on;
  return refusal;
}

std::string identifier(const std::string& value, std::optional<uint32_t>& setting) {
  uint32_t number = 0;
  const char* end = value.data() + value.size();
  const auto parsed = std::from_chars(value.data(), end, number);
  if (value.empty() || parsed.ec != std::errc() || parsed.ptr != end)
    return "it must be a decimal number below 4294967296";
  setting = number;
  return "";
}

struct Variable {
  const char* name;
  Reader read;
};

constexpr Variable kVariables[] = {
    {"ZEBSCRIBE_OUTPUT_DIR", [](const std::string& v, EnvironmentSettings& s) { return path(v, s.outputDirectory); }},
    {"ZEBSCRIBE_MODEL_FILE", [](const std::string& v, EnvironmentSettings& s) { return fileName(v, s.modelFileName); }},
    {"ZEBSCRIBE_DATA_FILE", [](const std::string& v, EnvironmentSettings& s) { return fileName(v, s.dataFileName); }},
    {"ZEBSCRIBE_TIMESTAMP", [](const std::string& v, EnvironmentSettings& s) { return flag(v, s.timestamp); }},
    {"ZEBSCRIBE_HEADER", [](const std::string& v, EnvironmentSettings& s) { return flag(v, s.writeHeader); }},
    {"ZEBSCRIBE_FOOTER", [](const std::string& v, EnvironmentSettings& s) { return flag(v, s.writeFooter); }},
    {"ZEBSCRIBE_BACKEND_ID", [](const std::string& v, EnvironmentSettings& s) { return identifier(v, s.backendId); }},
    {"ZEBSCRIBE_FORWARD", [](const std::string& v, EnvironmentSettings& s) { return path(v, s.forwardLibrary); }},
};

}  // namespace

EnvironmentSettings readEnvironment() {
  EnvironmentSettings settings;
  for (const Variable& variable : kVariables) {
    const std::optional<std::string> value = pal::environmentVariable(variable.name);
    if (!value) continue;
    const std::string refusal = variable.read(*value, settings);
    if (!refusal.empty() && settings.refusal.empty())
      settings.refusal = std::string(variable.name) + "=\"" + *value + "\" cannot be used: " + refusal;
  }
  // One file for both would start the program with the data's bytes.
  if (settings.refusal.empty() && !settings.timestamp &&
      settings.modelFileName.value_or(kDefaultModelFileName) ==
          settings.dataFileName.value_or(kDefaultDataFileName))
    settings.refusal = "ZEBSCRIBE_MODEL_FILE and ZEBSCRIBE_DATA_FILE cannot be used: they name the same file";
  return settings;
}

}  // namespace zeb
