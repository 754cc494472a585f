// Blocks from the process heap, the one home of the program's buffers and records.
#pragma once

#include <cstddef>

namespace astro {

// size bytes, zero-filled. The heap raises its own exception when it is out of
// memory rather than returning nullptr.
void* HeapAllocZeroed(std::size_t size);

// Gives a block of HeapAllocZeroed back; nullptr is ignored.
void HeapFreeBlock(void* block);

}  // namespace astro
