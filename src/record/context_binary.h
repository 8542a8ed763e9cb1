// Recording of context binaries: binaries asked for are saved by the written
// program to a file of its own, binaries handed in travel through the data file.
#pragma once

#include <cstdint>

#include "ZebInterface.h"
#include "recorder/recorder.h"

namespace zeb::record {

// Both queries answer 4950 once recorded; the client's outputs stay untouched.
Zeb_ErrorHandle_t contextGetBinarySize(Recorder& recorder, ScribeContext& context,
                                       const Zeb_ContextBinarySize_t* binaryBufferSize);
Zeb_ErrorHandle_t contextGetBinary(Recorder& recorder, ScribeContext& context,
                                   Zeb_ContextBinarySize_t binaryBufferSize,
                                   const Zeb_ContextBinarySize_t* writtenBufferSize);

// A context made from a binary, with or without the signal argument.
struct BinarySource {
  uint64_t backend;
  uint64_t device;
  const ZebContext_Config_t** config;
  const void* buffer;
  Zeb_ContextBinarySize_t size;
};
Zeb_ErrorHandle_t contextCreateFromBinary(Recorder& recorder, ScribeContext& context,
                                          const BinarySource& binary, uint64_t profile,
                                          bool withSignal);
Zeb_ErrorHandle_t contextValidateBinary(Recorder& recorder, const BinarySource& binary);

}  // namespace zeb::record
