// Numbers to text and back, and the text queries that yield numbers.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "runtime/core/strings.h"

namespace {

// Room for a sign, 32 binary digits and the NUL.
constexpr size_t NumberTextBytes = 34;
constexpr size_t DecimalTextBytes = 12;  // "-2147483648" and the NUL

// Writes `value` in `radix` with at least `minimumDigits` digits, most
// significant first, then a NUL. Returns the number of characters.
size_t FormatUnsigned(uint32_t value, uint32_t radix, size_t minimumDigits, char* out)
{
    char reversed[NumberTextBytes];
    size_t count = 0;
    do {
        reversed[count++] = "0123456789ABCDEF"[value % radix];
        value /= radix;
    } while (value != 0 || count < minimumDigits);
    std::reverse_copy(reversed, reversed + count, out);
    out[count] = '\0';
    return count;
}

// The magnitude is taken in unsigned arithmetic, so -2147483648 has one.
size_t FormatDecimal(int32_t value, char* out)
{
    if (value >= 0) {
        return FormatUnsigned(static_cast<uint32_t>(value), 10, 1, out);
    }
    out[0] = '-';
    return 1 + FormatUnsigned(0u - static_cast<uint32_t>(value), 10, 1, out + 1);
}

char* AppendFormatted(uint32_t value, uint32_t radix, size_t minimumDigits)
{
    char text[NumberTextBytes];
    const size_t length = FormatUnsigned(value, radix, minimumDigits, text);
    return QV_AppendText(text, static_cast<int32_t>(length));
}

}  // namespace

char* QV_Str(int32_t value)
{
    char text[DecimalTextBytes];
    const size_t length = FormatDecimal(value, text);
    return QV_AppendText(text, static_cast<int32_t>(length));
}

char* QV_Hex(int32_t value)
{
    return AppendFormatted(static_cast<uint32_t>(value), 16, 1);
}

char* QV_Bin(int32_t value)
{
    return AppendFormatted(static_cast<uint32_t>(value), 2, 32);
}

char* QV_Chr(int32_t code)
{
    const char character = static_cast<char>(code);
    return QV_AppendText(&character, 1);
}

char* QV_Space(int32_t count)
{
    static constexpr char Spaces[] = "                                ";
    constexpr int32_t ChunkLength = sizeof Spaces - 1;
    char* start = QV_AppendText(nullptr, 0);
    // Appends in chunks until done or the area's end cuts a chunk short.
    while (count > 0) {
        const int32_t chunk = std::min(count, ChunkLength);
        const char* before = QV_StringBase;
        QV_AppendText(Spaces, chunk);
        if (QV_StringBase - before < chunk) {
            break;
        }
        count -= chunk;
    }
    return start;
}

int32_t QV_Val(const char* text)
{
    if (text == nullptr) {
        return 0;
    }
    // long is 64-bit here, so the 32-bit clamp is done by hand.
    const long value = std::strtol(text, nullptr, 10);
    return static_cast<int32_t>(
        std::clamp<long>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t QV_Len(const char* text)
{
    return text != nullptr ? static_cast<int32_t>(std::strlen(text)) : 0;
}

int32_t QV_Asc(const char* text)
{
    return text != nullptr ? static_cast<unsigned char>(text[0]) : 0;
}

int32_t QV_FindString(const char* text, const char* search, int32_t start)
{
    const size_t from = static_cast<size_t>(std::max(start, 1) - 1);
    if (QV_Len(search) == 0 || from >= static_cast<size_t>(QV_Len(text))) {
        return 0;
    }
    const char* found = std::strstr(text + from, search);
    return found != nullptr ? static_cast<int32_t>(found - text) + 1 : 0;
}

char* QV_Itoa(int32_t value, char* buffer, int32_t base)
{
    if (base == 10) {
        FormatDecimal(value, buffer);
    }
    return buffer;
}
