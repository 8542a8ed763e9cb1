// Public facts of the echo backend (library ZebEcho), for scenarios that run
// against it and compare its call logs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zeb::echo {

// Environment variable naming the file that receives one canonical line per
// received call; unset means no logging.
inline constexpr const char* kLogVariable = "ZEB_ECHO_LOG";
// "member:code[,member:code...]": every call of each member named fails with
// its code, issuing and filling nothing, and says so through the client's
// newest logger.
inline constexpr const char* kFailVariable = "ZEB_ECHO_FAIL";

inline constexpr const char* kProviderName = "ECHO";
inline constexpr uint32_t kBackendId = 99;
inline constexpr const char* kBuildId = "echo-1.0.0";

// Every context reports a binary of this many bytes; byte i is binaryByte(i).
inline constexpr uint64_t kContextBinarySize = 64;
constexpr uint8_t binaryByte(std::size_t index) {
  return static_cast<uint8_t>(index * 31u + 7u);
}

// backendGetSupportedOperations answers this many operations.
inline constexpr uint32_t kSupportedOperationCount = 3;

// propertyHasCapability answers 0 for the keys below this, and
// ZEB_COMMON_ERROR_NOT_SUPPORTED for the others.
inline constexpr uint32_t kCapabilityKeys = 16;

// graphExecute and graphExecuteAsync fill every raw output buffer with bytes
// that the contents of the inputs decide: the same inputs, the same outputs.

}  // namespace zeb::echo
