// Text that stays where it was stored, for the names that maps and records
// refer to by view.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "emit/text_append.h"

namespace zeb {

// Texts packed into blocks: many names cost one allocation, and an arena that
// stores nothing allocates nothing.
class TextArena {
 public:
  // Stores the parts, each as appendAll writes it, one after the other as one
  // text; the view stays valid as long as the arena.
  template <class... Parts>
  std::string_view store(const Parts&... parts) {
    return storePieces(detail::pieceOf(parts)...);
  }

 private:
  static constexpr std::size_t kBlockSize = 4096;
  template <class... Pieces>
  std::string_view storePieces(const Pieces&... pieces) {
    const std::size_t length = (pieces.size() + ... + 0);
    char* const text = take(length);
    char* at = text;
    (pieces.copyTo(at), ...);
    return {text, length};
  }
  // Room for length characters.
  char* take(std::size_t length);

  // A text longer than a block gets a block of its own, which it fills.
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  std::size_t roomInLastBlock_ = 0;
};

}  // namespace zeb
