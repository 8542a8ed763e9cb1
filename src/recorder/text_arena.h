// Text that stays where it was stored, for the names that maps and records
// refer to by view.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

namespace zeb {

// Texts packed into blocks: many names cost one allocation, and an arena that
// stores nothing allocates nothing.
class TextArena {
 public:
  // Stores the parts one after the other as one text; the view stays valid
  // as long as the arena.
  std::string_view store(std::initializer_list<std::string_view> parts);

 private:
  static constexpr std::size_t kBlockSize = 4096;
  // Room for length characters.
  char* take(std::size_t length);

  // A text longer than a block gets a block of its own, which it fills.
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  std::size_t roomInLastBlock_ = 0;
};

}  // namespace zeb
