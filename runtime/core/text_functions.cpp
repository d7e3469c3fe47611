// Text functions with an explicit destination: pieces, case and trimming.
// Each reads its source before writing, and QV_AppendText copies with
// overlap in mind, so a destination at or before the source is safe.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "runtime/core/strings.h"

namespace {

std::string_view ViewOf(const char* text)
{
    return text != nullptr ? std::string_view(text) : std::string_view();
}

char* WritePiece(std::string_view piece, char* destination)
{
    QV_StringBase = destination;
    return QV_AppendText(piece.data(), static_cast<int32_t>(piece.size()));
}

// Rewrites the bytes written since `start` (up to the base) in place.
template <class Transform>
char* TransformWritten(char* start, Transform transform)
{
    if (start != nullptr) {
        std::transform(start, static_cast<char*>(QV_StringBase), start,
                       [&](char c) { return static_cast<char>(transform(static_cast<unsigned char>(c))); });
    }
    return start;
}

int LowerAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

int UpperAscii(unsigned char c)
{
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

constexpr std::string_view Blanks = " \t";

std::string_view TrimLeft(std::string_view text)
{
    const size_t first = text.find_first_not_of(Blanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRight(std::string_view text)
{
    const size_t last = text.find_last_not_of(Blanks);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

}  // namespace

char* QV_Mid(const char* text, int32_t start, int32_t length, char* destination)
{
    const std::string_view whole = ViewOf(text);
    const size_t from = static_cast<size_t>(std::max(start, 1) - 1);
    if (from >= whole.size() || length == 0) {
        return WritePiece({}, destination);
    }
    return WritePiece(length < 0 ? whole.substr(from) : whole.substr(from, static_cast<size_t>(length)), destination);
}

char* QV_Left(const char* text, int32_t count, char* destination)
{
    return WritePiece(ViewOf(text).substr(0, static_cast<size_t>(std::max(count, 0))), destination);
}

char* QV_Right(const char* text, int32_t count, char* destination)
{
    const std::string_view whole = ViewOf(text);
    const size_t kept = std::min(static_cast<size_t>(std::max(count, 0)), whole.size());
    return WritePiece(whole.substr(whole.size() - kept), destination);
}

char* QV_LCase(const char* text, char* destination)
{
    return TransformWritten(WritePiece(ViewOf(text), destination), LowerAscii);
}

char* QV_UCase(const char* text, char* destination)
{
    return TransformWritten(WritePiece(ViewOf(text), destination), UpperAscii);
}

char* QV_LTrim(const char* text, char* destination)
{
    return WritePiece(TrimLeft(ViewOf(text)), destination);
}

char* QV_RTrim(const char* text, char* destination)
{
    return WritePiece(TrimRight(ViewOf(text)), destination);
}

char* QV_Trim(const char* text, char* destination)
{
    return WritePiece(TrimRight(TrimLeft(ViewOf(text))), destination);
}
