// Zero-filling memory blocks over the C library's allocator.
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "runtime/core/strings.h"

namespace {

// Size-prefixed blocks keep their byte count in the 4 bytes just before the
// address handed out. The prefix is as long as the strictest alignment, so
// the payload can hold pointers (the sprite table) on 64-bit machines too.
constexpr size_t SizePrefixBytes = alignof(std::max_align_t);
constexpr size_t SizeFieldOffset = SizePrefixBytes - sizeof(int32_t);

void* AllocateZeroed(size_t size)
{
    return std::calloc(size, 1);
}

// realloc with a size of 0 may free the block and return nullptr, which
// would read as a failure with the block already gone; a minimal block keeps
// "nullptr means the old block is untouched" true.
void* ResizeZeroingGrowth(void* block, size_t oldSize, size_t newSize)
{
    char* resized = static_cast<char*>(std::realloc(block, std::max<size_t>(newSize, 1)));
    if (resized != nullptr && newSize > oldSize) {
        std::memset(resized + oldSize, 0, newSize - oldSize);
    }
    return resized;
}

char* PrefixOf(void* memory)
{
    return static_cast<char*>(memory) - SizePrefixBytes;
}

int32_t StoredSize(void* memory)
{
    int32_t size;
    std::memcpy(&size, PrefixOf(memory) + SizeFieldOffset, sizeof size);
    return size;
}

// Writes the size in front of the payload and hands out the payload.
void* WithSizePrefix(void* block, int32_t size)
{
    if (block == nullptr) {
        return nullptr;
    }
    std::memcpy(static_cast<char*>(block) + SizeFieldOffset, &size, sizeof size);
    return static_cast<char*>(block) + SizePrefixBytes;
}

}  // namespace

void* SYS_AllocateMemory(int32_t size)
{
    return size < 0 ? nullptr : AllocateZeroed(static_cast<size_t>(size));
}

void* SYS_ReAllocateMemory(void* block, int32_t oldSize, int32_t newSize)
{
    if (newSize < 0) {
        return nullptr;
    }
    return ResizeZeroingGrowth(block, static_cast<size_t>(std::max(oldSize, 0)), static_cast<size_t>(newSize));
}

void SYS_FreeMemory(void* block)
{
    std::free(block);
}

void* SYS_AllocateMemoryWithSize(int32_t size)
{
    if (size < 0) {
        return nullptr;
    }
    return WithSizePrefix(AllocateZeroed(static_cast<size_t>(size) + SizePrefixBytes), size);
}

void* SYS_ReAllocateMemoryWithSize(void* memory, int32_t newSize)
{
    if (memory == nullptr || newSize < 0) {
        return nullptr;
    }
    const size_t oldSize = static_cast<size_t>(std::max(StoredSize(memory), 0));
    return WithSizePrefix(ResizeZeroingGrowth(PrefixOf(memory), oldSize + SizePrefixBytes,
                                              static_cast<size_t>(newSize) + SizePrefixBytes),
                          newSize);
}

void SYS_FreeMemoryWithSize(void* memory)
{
    if (memory != nullptr) {
        std::free(PrefixOf(memory));
    }
}
