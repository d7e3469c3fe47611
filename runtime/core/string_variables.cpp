// String variables outside the temporary area: direct copies into heap
// blocks, freeing, comparison, and file-name conversion.
#include <algorithm>
#include <cstring>

#include "runtime/core/strings.h"

namespace {

const char* OrEmpty(const char* text)
{
    return text != nullptr ? text : "";
}

int Compare(const char* left, const char* right)
{
    // strcmp compares bytes as unsigned char, as these operations promise.
    return std::strcmp(OrEmpty(left), OrEmpty(right));
}

}  // namespace

void SYS_FastAllocateString(char** variable, const char* source)
{
    const size_t length = std::strlen(OrEmpty(source));
    char* block = length > 0 ? static_cast<char*>(SYS_AllocateMemory(static_cast<int32_t>(length + 1))) : nullptr;
    if (block != nullptr) {
        std::memcpy(block, source, length);
    }
    *variable = block;
}

void SYS_FastAllocateStringFree(char** variable, const char* source)
{
    SYS_FreeString(*variable);
    SYS_FastAllocateString(variable, source);
}

void SYS_FreeString(char* block)
{
    SYS_FreeMemory(block);
}

int32_t SYS_StringEqual(const char* left, const char* right)
{
    return Compare(left, right) == 0 ? 1 : 0;
}

int32_t SYS_StringInf(const char* left, const char* right)
{
    return Compare(left, right) < 0 ? 1 : 0;
}

int32_t SYS_StringSup(const char* left, const char* right)
{
    return Compare(left, right) > 0 ? 1 : 0;
}

void SYS_ConvertFilename(const char* source, char* destination, int32_t destinationSize)
{
    if (destination == nullptr || destinationSize <= 0) {
        return;
    }
    const size_t length = strnlen(OrEmpty(source), static_cast<size_t>(destinationSize) - 1);
    std::replace_copy(OrEmpty(source), OrEmpty(source) + length, destination, '\\', '/');
    destination[length] = '\0';
}
