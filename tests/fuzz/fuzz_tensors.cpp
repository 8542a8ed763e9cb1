// Tensor descriptions of both versions, created in a context and in a graph.
#include "fuzz_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  zeb::fuzz::Builder build(data);
  zeb::fuzz::Session session;
  for (int i = 0; i < 8 && data.remaining_bytes() > 0; ++i) {
    Zeb_Tensor_t tensor = build.tensor();
    data.ConsumeBool() ? zeb::fuzz::api().tensorCreateContextTensor(session.context, &tensor)
                       : zeb::fuzz::api().tensorCreateGraphTensor(session.graph, &tensor);
  }
  return 0;
}
