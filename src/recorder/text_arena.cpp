#include "recorder/text_arena.h"

#include <algorithm>

namespace zeb {

char* TextArena::take(std::size_t length) {
  if (blocks_.empty() || length > roomInLastBlock_) {
    const std::size_t size = std::max(length, kBlockSize);
    // Not filled: every character is written before it is read.
    blocks_.push_back(std::unique_ptr<char[]>(new char[size]));
    next_ = blocks_.back().get();
    roomInLastBlock_ = size;
  }
  char* const at = next_;
  next_ += length;
  roomInLastBlock_ -= length;
  return at;
}

}  // namespace zeb
