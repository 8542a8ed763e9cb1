// Recording of the graph family: creation, subgraphs, configuration,
// finalize, execution and retrieval.
#pragma once

#include <cstdint>
#include <string>

#include "ZebInterface.h"
#include "emit/statement_builder.h"
#include "record/family_common.h"
#include "recorder/recorder.h"

namespace zeb::record {

// On 0, *graph receives the new graph's handle, which is then known to the
// recorder under its context.
Zeb_ErrorHandle_t graphCreate(Recorder& recorder, uint64_t contextHandle, ScribeContext& context,
                              const char* graphName, const ZebGraph_Config_t** config,
                              uint64_t* graph);
// *subgraph receives the new handle once the record exists, also when the
// block could not be written.
Zeb_ErrorHandle_t graphCreateSubgraph(Recorder& recorder, uint64_t parentHandle,
                                      ScribeGraph& parent, const char* subgraphName,
                                      uint64_t* subgraph);
Zeb_ErrorHandle_t graphSetConfig(Recorder& recorder, ScribeGraph& graph,
                                 const ZebGraph_Config_t** config);
Zeb_ErrorHandle_t graphFinalize(Recorder& recorder, ScribeGraph& graph, uint64_t profile);
Zeb_ErrorHandle_t graphExecute(Recorder& recorder, ScribeGraph& graph, const Zeb_Tensor_t* inputs,
                               uint32_t numInputs, const Zeb_Tensor_t* outputs,
                               uint32_t numOutputs, uint64_t profile);
// Finds the context's graph by the client's name (or by its variable name),
// or adds one; *graph receives its handle before the call is recorded.
Zeb_ErrorHandle_t graphRetrieve(Recorder& recorder, uint64_t contextHandle, ScribeContext& context,
                                const char* graphName, uint64_t* graph);

// The graph's variable, for a block that passes it. A graph whose declaring
// block could not be written is declared here with a NULL handle, so the
// program still compiles; writeGraphBlock then marks it declared.
const std::string& graphVariable(const ScribeGraph& graph, StatementBuilder& builder);
// `{graph}_{word}_{n}`, in a scratch string of the builder: the graph's name
// derives from its context's, so its context numbers the names derived from
// it, and they go with the context.
const TextBuffer& graphDerivedName(const ScribeGraph& graph, std::string_view word,
                                   StatementBuilder& builder);
Zeb_ErrorHandle_t writeGraphBlock(Recorder& recorder, StatementBuilder& builder,
                                  ScribeGraph& graph, const BlockCodes& codes);

}  // namespace zeb::record
