// A failure that ends a subcommand with a message and an exit status.
#pragma once

#include <stdexcept>
#include <string>

namespace zeb::tool {

// Exit statuses: 0 done (and the recording sound), 1 the recording has
// problems or the subcommand refused, 2 wrong use or unreadable input.
inline constexpr int kExitProblems = 1;
inline constexpr int kExitUnusable = 2;

class ToolError : public std::runtime_error {
 public:
  ToolError(int status, const std::string& message)
      : std::runtime_error(message), status_(status) {}
  int status() const { return status_; }

 private:
  int status_;
};

}  // namespace zeb::tool
