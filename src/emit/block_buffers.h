// The memory a statement builder composes its block in, handed from one
// block to the next: once the first blocks have grown it, composing a block
// allocates nothing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "emit/blob.h"
#include "emit/text_append.h"

namespace zeb {

struct BlockBuffers {
  TextBuffer text;
  std::vector<Blob> blobs;
  // Strings for the parts of a block composed apart from its text; each has
  // its own place, so handing out one more leaves the others where they are.
  std::vector<std::unique_ptr<TextBuffer>> scratch;
  std::size_t scratchInUse = 0;
};

// Builders are made only while the recorder's call lock is held, which is
// what keeps the spare buffers from being taken by two threads at once.

// Buffers as the last block left them (or new ones), emptied.
std::unique_ptr<BlockBuffers> takeBlockBuffers();
// Keeps the buffers for the next block. Several builders may live at once
// (a client's log callback may call the API while a block is composed), so
// each takes its own.
void returnBlockBuffers(std::unique_ptr<BlockBuffers> buffers);

}  // namespace zeb
