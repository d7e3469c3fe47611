// The size of the memory block behind a runtime array.
#pragma once

#include <gtest/gtest.h>

#include <malloc.h>

#include <cstddef>

// The whole block an array's element 0 belongs to.
inline size_t BlockBytes(void* elements)
{
    return malloc_usable_size(static_cast<char*>(elements) - 8);
}

// AddressSanitizer hands out blocks of exactly the size asked for.
#if defined(__SANITIZE_ADDRESS__)
#define EXPECT_BLOCK_BYTES(elements, bytes) EXPECT_EQ(BlockBytes(elements), static_cast<size_t>(bytes))
#else
#define EXPECT_BLOCK_BYTES(elements, bytes) EXPECT_GE(BlockBytes(elements), static_cast<size_t>(bytes))
#endif
