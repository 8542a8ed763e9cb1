// Tensor descriptions of both versions, created in a context and in a graph, then
// op configurations that may name them, added to the graph and validated.
#include "fuzz_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  zeb::fuzz::Builder build(data);
  zeb::fuzz::Session session;
  const auto& api = zeb::fuzz::api();
  for (uint32_t i = build.count(8); i > 0; --i) {
    Zeb_Tensor_t tensor = build.tensor();
    data.ConsumeBool() ? api.tensorCreateContextTensor(session.context, &tensor)
                       : api.tensorCreateGraphTensor(session.graph, &tensor);
  }
  api.graphAddNode(session.graph, build.opConfig());
  api.backendValidateOpConfig(session.backend, build.opConfig());
  return 0;
}
