// The temporary string area, its moving base and the plumbing that ends an
// expression in a string variable. Every write into the area goes through
// QV_AppendText, which is what keeps them all inside it.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "runtime/core/strings.h"

QV_StringPosition QV_StringBase;

namespace {

struct StringArea {
    char* start = nullptr;
    char* end = nullptr;  // one past the last usable byte: the spare NUL
};

StringArea area;

// Whether `position` lies in the area or on its spare NUL. Compared as
// addresses because `position` may point anywhere.
bool WithinArea(const char* position)
{
    const auto at = reinterpret_cast<uintptr_t>(position);
    return area.start != nullptr && at >= reinterpret_cast<uintptr_t>(area.start) &&
        at <= reinterpret_cast<uintptr_t>(area.end);
}

// Bytes that may be written at `position`, its NUL included; 0 outside the
// area and on the spare NUL.
size_t RoomAt(const char* position)
{
    return WithinArea(position) ? static_cast<size_t>(area.end - position) : 0;
}

}  // namespace

QV_StringPosition& QV_StringPosition::operator+=(int32_t steps)
{
    if (WithinArea(position_)) {
        position_ += std::clamp<int64_t>(steps, area.start - position_, area.end - position_);
    }
    return *this;
}

int32_t QV_InitStrings(int32_t size)
{
    QV_FreeStrings();
    if (size <= 0 || size == std::numeric_limits<int32_t>::max()) {
        return 0;
    }
    area.start = static_cast<char*>(SYS_AllocateMemory(size + 1));
    if (area.start == nullptr) {
        return 0;
    }
    area.end = area.start + size;
    QV_StringBase = area.start;
    return 1;
}

void QV_FreeStrings()
{
    SYS_FreeMemory(area.start);
    area = StringArea{};
    QV_StringBase = nullptr;
}

char* QV_AppendText(const char* text, int32_t length)
{
    char* destination = QV_StringBase;
    const size_t room = RoomAt(destination);
    if (room == 0) {
        return destination;
    }
    const size_t wanted = text != nullptr ? strnlen(text, static_cast<size_t>(std::max(length, 0))) : 0;
    const size_t count = std::min(wanted, room - 1);
    if (count > 0) {
        // The source may overlap the destination (QV_Right of text built in place).
        std::memmove(destination, text, count);
    }
    destination[count] = '\0';
    QV_StringBase = destination + count;
    return destination;
}

char* SYS_CopyString(const char* source)
{
    return QV_AppendText(source, std::numeric_limits<int32_t>::max());
}

char* SYS_AllocateString(char** variable, char* start)
{
    const auto from = reinterpret_cast<uintptr_t>(start);
    const auto base = reinterpret_cast<uintptr_t>(static_cast<char*>(QV_StringBase));
    // Never copy beyond the base, even when the text at `start` runs on.
    const size_t length = start != nullptr && base > from ? strnlen(start, base - from) : 0;
    SYS_FreeString(*variable);
    char* block = static_cast<char*>(SYS_AllocateMemory(static_cast<int32_t>(length + 1)));
    if (block != nullptr && length > 0) {
        std::memcpy(block, start, length);
    }
    *variable = block;
    QV_StringBase = start;
    return block;
}
