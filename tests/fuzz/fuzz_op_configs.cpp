// Op configurations added to a graph whose tensors they may name, and validated.
#include "fuzz_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  zeb::fuzz::Builder build(data);
  zeb::fuzz::Session session;
  const auto& api = zeb::fuzz::api();
  for (uint32_t i = build.count(2); i > 0; --i) {
    Zeb_Tensor_t tensor = build.tensor();
    api.tensorCreateGraphTensor(session.graph, &tensor);
  }
  api.graphAddNode(session.graph, build.opConfig());
  api.backendValidateOpConfig(session.backend, build.opConfig());
  return 0;
}
