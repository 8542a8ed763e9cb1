#include "recorder/text_arena.h"

#include <algorithm>

#include "emit/text_append.h"

namespace zeb {

char* TextArena::take(std::size_t length) {
  if (blocks_.empty() || length > roomInLastBlock_) {
    const std::size_t size = std::max(length, kBlockSize);
    blocks_.push_back(std::make_unique<char[]>(size));
    next_ = blocks_.back().get();
    roomInLastBlock_ = size;
  }
  char* const at = next_;
  next_ += length;
  roomInLastBlock_ -= length;
  return at;
}

std::string_view TextArena::store(std::initializer_list<std::string_view> parts) {
  std::size_t length = 0;
  for (const std::string_view part : parts) length += part.size();
  char* const text = take(length);
  char* at = text;
  // The parts are names and their pieces, short enough to copy inline.
  for (const std::string_view part : parts) {
    copyChars(at, part.data(), part.size());
    at += part.size();
  }
  return {text, length};
}

}  // namespace zeb
