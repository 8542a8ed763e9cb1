// Recording of the tensor family: tensors created in a context or a graph.
#pragma once

#include "ZebInterface.h"
#include "recorder/recorder.h"

namespace zeb::record {

// Each records the creation under the owner's next tensor name and, once it is
// written, registers the tensor, which writes its new id into the client's
// description.
Zeb_ErrorHandle_t tensorCreateContextTensor(Recorder& recorder, ScribeContext& context,
                                            Zeb_Tensor_t& tensor);
Zeb_ErrorHandle_t tensorCreateGraphTensor(Recorder& recorder, ScribeGraph& graph,
                                          Zeb_Tensor_t& tensor);

}  // namespace zeb::record
