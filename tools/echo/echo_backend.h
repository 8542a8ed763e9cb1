// Public facts of the echo backend (library ZebEcho), for scenarios that run
// against it and compare its call logs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zeb::echo {

// Environment variable naming the file that receives one canonical line per
// received call; unset means no logging.
inline constexpr const char* kLogVariable = "ZEB_ECHO_LOG";

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

}  // namespace zeb::echo
