// The fixed text that opens and closes the written program.
#pragma once

#include <string>

namespace zeb {

std::string modelHeader(const std::string& dataFileName);
std::string modelFooter();

}  // namespace zeb
