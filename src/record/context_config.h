// The written form of one context configuration.
#pragma once

#include <string>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "recorder/recorder.h"

namespace zeb::record {

// Where a configuration's variable takes its name: `{owner}_{word}_{n}`,
// numbered by the context's own counters, or by the recorder's when no
// context owns the configuration.
struct ContextConfigNames {
  std::string_view owner;
  ScribeContext* context;  // null: the recorder's counters
};

// Declares the configuration in the builder and appends `&{name}, ` to the
// elements of the caller's array; a dropped custom configuration appends
// nothing. Returns 0, or 5000 when the configuration cannot be recorded.
Zeb_ErrorHandle_t serializeContextConfig(Recorder& recorder, const ZebContext_Config_t& config,
                                         TextBuffer& elements, StatementBuilder& builder,
                                         const ContextConfigNames& names);

// Names the array of configurations, `{owner}_config_{n}`, in a scratch string of the builder.
TextBuffer& nameContextConfigArray(Recorder& recorder, StatementBuilder& builder,
                                   const ContextConfigNames& names);

}  // namespace zeb::record
