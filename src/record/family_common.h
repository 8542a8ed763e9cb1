// What the recording functions of all families share.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "recorder/recorder.h"

namespace zeb::record {

// What a recorded call answers: once its block is written, when the model file
// could not be written, and when the data its block reads could not be.
struct BlockCodes {
  Zeb_ErrorHandle_t recorded;
  Zeb_ErrorHandle_t modelNotWritten;
  Zeb_ErrorHandle_t dataNotWritten;
  // Logged after the data file's own message when the data is not written.
  const char* dataNotWrittenMessage = nullptr;
};

// Hands the finished block and its blobs to the recorder, which writes them
// whole or not at all, and answers with the matching code.
Zeb_ErrorHandle_t writeBlock(Recorder& recorder, StatementBuilder& builder,
                             const BlockCodes& codes);
// For blocks that read no data.
Zeb_ErrorHandle_t writeBlock(Recorder& recorder, StatementBuilder& builder,
                             Zeb_ErrorHandle_t recorded, Zeb_ErrorHandle_t notWritten);

// A custom configuration's content is never written. Without a backend
// identifier it is left out of the recorded array with a warning: returns true.
// With one, returns false and the family refuses it with its own message and code.
bool dropCustomConfigWithoutBackendId(const Recorder& recorder);
// For the families that know which backends take no custom configurations
// (this library, the CPU backend): drops the content as above, or refuses it
// with that backend's message, else with `unknownBackend` and the identifier.
Zeb_ErrorHandle_t handleCustomConfig(const Recorder& recorder, const char* unknownBackend,
                                     Zeb_ErrorHandle_t refused);

// Declares one configuration, `{type} {name} = {...};` with the fields that
// appendFields(TextBuffer&) appends, and adds `&{name}` to the elements of the
// array that the recorded call passes: a list of entries, each followed by ", ".
template <class AppendFields>
void writeConfigEntryWith(StatementBuilder& builder, std::string_view type, std::string_view name,
                          TextBuffer& elements, AppendFields appendFields) {
  builder.writeStructWith(type, name, appendFields);
  appendAll(elements, "&", name, ", ");
}

// writeConfigEntryWith for the fields `{option}, {value}`.
void writeConfigEntry(StatementBuilder& builder, std::string_view type, std::string_view name,
                      std::string_view option, std::string_view value, TextBuffer& elements);

// Writes `{type} {name}[] = {e1, ..., NULL};`, the NULL-terminated array of
// configuration addresses that the recorded call passes.
void writeConfigArray(StatementBuilder& builder, std::string_view type, std::string_view name,
                      TextBuffer& elements);

// Composes `{owner}_{word}` in a scratch string of the builder.
TextBuffer& composeName(StatementBuilder& builder, std::string_view owner, std::string_view word);

// Composes `{owner}_{word}_{n}` in a scratch string of the builder, n being the
// counter's value, and moves the counter on.
TextBuffer& composeNumberedName(StatementBuilder& builder, std::string_view owner,
                                std::string_view word, uint32_t& counter);

// The argument text for an output pointer of a recorded query: "NULL" when the
// client passed none, otherwise "&" and a fresh `{type} {prefix}_{n};` variable.
std::string declareOutput(Recorder& recorder, StatementBuilder& builder, const void* output,
                          std::string_view type, std::string_view prefix);

// The variable of a device handle: "NULL" for 0; nothing (and logged) when the
// handle names no device.
std::optional<std::string> deviceVariable(Recorder& recorder, uint64_t device);

// The variable of a profile handle; "NULL" for 0 or a handle that names no
// profile, which the calls that merely pass a profile on do not refuse. The
// view stays valid for the call: the profile's record outlives it.
std::string_view profileVariable(Recorder& recorder, uint64_t profile);

// The designated error-reporting member of a configuration union, as the
// backend and context configurations write it:
// `.errorConfig={(Zeb_ErrorReportingLevel_t){level}, {storageLimit}}`.
struct ErrorConfigPiece {
  explicit ErrorConfigPiece(const Zeb_ErrorReportingConfig_t& config)
      : level(int32_t{config.reportingLevel}), storageLimit(config.storageLimit) {}
  std::size_t size() const { return kOpening.size() + level.size() + 2 + storageLimit.size() + 1; }
  ZEB_ALWAYS_INLINE void copyTo(char*& at) const {
    TextPiece{kOpening}.copyTo(at);
    level.copyTo(at);
    LiteralPiece<3>{", "}.copyTo(at);
    storageLimit.copyTo(at);
    *at++ = '}';
  }

 private:
  static constexpr std::string_view kOpening = ".errorConfig={(Zeb_ErrorReportingLevel_t)";
  NumberPiece level;
  NumberPiece storageLimit;
};

}  // namespace zeb::record
