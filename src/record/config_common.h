// What the configuration writers of all families share.
#pragma once

#include <string>
#include <vector>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "recorder/recorder.h"

namespace zeb::record {

// A custom configuration's content is never written. Without a backend
// identifier it is left out of the recorded array with a warning: returns true.
// With one, returns false and the family refuses it with its own message and code.
bool dropCustomConfigWithoutBackendId(const Recorder& recorder);

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
