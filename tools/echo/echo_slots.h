// Each family of the echo backend fills its own slots of the function table.
#pragma once

#include "ZebInterface.h"

namespace zeb::echo {

using FunctionTable = ZEB_INTERFACE_VER_TYPE;

void fillBackendSlots(FunctionTable& table);  // property, backend, log, error
void fillContextSlots(FunctionTable& table);  // context, memory, signal
void fillGraphSlots(FunctionTable& table);    // graph, tensor
void fillDeviceSlots(FunctionTable& table);
void fillProfileSlots(FunctionTable& table);

}  // namespace zeb::echo
