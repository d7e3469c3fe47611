// Raw reads and writes at any address. memcpy keeps unaligned addresses
// well defined.
#include <cstring>

#include "runtime/core/strings.h"

namespace {

template <class Value>
Value Peek(const void* address)
{
    Value value;
    std::memcpy(&value, address, sizeof value);
    return value;
}

template <class Value>
void Poke(void* address, Value value)
{
    std::memcpy(address, &value, sizeof value);
}

}  // namespace

int32_t QV_PeekB(const void* address)
{
    return Peek<int8_t>(address);
}

int32_t QV_PeekW(const void* address)
{
    return Peek<int16_t>(address);
}

int32_t QV_PeekL(const void* address)
{
    return Peek<int32_t>(address);
}

float QV_PeekF(const void* address)
{
    return Peek<float>(address);
}

char* QV_PeekS(const void* address)
{
    return SYS_CopyString(static_cast<const char*>(address));
}

void QV_PokeB(void* address, int32_t value)
{
    Poke(address, static_cast<int8_t>(value));
}

void QV_PokeW(void* address, int32_t value)
{
    Poke(address, static_cast<int16_t>(value));
}

void QV_PokeL(void* address, int32_t value)
{
    Poke(address, value);
}

void QV_PokeF(void* address, float value)
{
    Poke(address, value);
}

void QV_PokeS(void* address, const char* text)
{
    const char* source = text != nullptr ? text : "";
    std::memcpy(address, source, std::strlen(source) + 1);
}
