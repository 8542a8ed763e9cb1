// What the recording functions of all families share.
#pragma once

#include <string>
#include <vector>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "recorder/recorder.h"

namespace zeb::record {

// Hands the finished block to the model file in one write: `recorded` when it
// was written, the family's `notWritten` code when it was not.
Zeb_ErrorHandle_t writeBlock(Recorder& recorder, StatementBuilder& builder,
                             Zeb_ErrorHandle_t recorded, Zeb_ErrorHandle_t notWritten);

// A custom configuration's content is never written. Without a backend
// identifier it is left out of the recorded array with a warning: returns true.
// With one, returns false and the family refuses it with its own message and code.
bool dropCustomConfigWithoutBackendId(const Recorder& recorder);

// Declares one configuration, `{type} {name} = {{option}, {value}};`, and adds
// `&{name}` to the elements of the array that the recorded call passes.
void writeConfigEntry(StatementBuilder& builder, const char* type, const std::string& name,
                      const char* option, const std::string& value,
                      std::vector<std::string>& elements);

// Writes `{type} {name}[] = {e1, ..., NULL};`, the NULL-terminated array of
// configuration addresses that the recorded call passes.
void writeConfigArray(StatementBuilder& builder, const std::string& type, const std::string& name,
                      std::vector<std::string> elements);

// The argument text for an output pointer of a recorded query: "NULL" when the
// client passed none, otherwise "&" and a fresh `{type} {prefix}_{n};` variable.
std::string declareOutput(Recorder& recorder, StatementBuilder& builder, const void* output,
                          const std::string& type, const std::string& prefix);

// The designated error-reporting member of a configuration union, as the
// backend and context configurations write it:
// `.errorConfig={(Zeb_ErrorReportingLevel_t){level}, {storageLimit}}`.
std::string errorConfigText(const Zeb_ErrorReportingConfig_t& config);

}  // namespace zeb::record
