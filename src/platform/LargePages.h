// Large buffers made ready in one go: a 12-megapixel scan in a layout is a 36 MB buffer, and
// filling fresh memory page by page costs more than copying the bytes (nine thousand page faults,
// each clearing a page first). Backed by 2 MB pages and set up by one call it costs a third.
#pragma once

#include <cstddef>

// Asks the system to back the whole 2 MB blocks of a buffer that is about to be filled with large
// pages, and to set up all of its pages at once. Only a hint: where the system has no such thing,
// or says no, the pages come one by one as the buffer is filled, as before.
void PrepareLargeBuffer(void* data, std::size_t size);

// Buffers from this size on are worth it.
constexpr std::size_t kLargeBufferBytes = std::size_t{4} << 20;
