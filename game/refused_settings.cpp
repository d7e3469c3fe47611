#include "game/refused_settings.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Values come from a file anyone may have written, and one line must stay
// one line: on the terminal a long value is cut at this many bytes, and on
// the game's screen shorter still, so the line fits the playfield in the
// game's 8-pixel text.
constexpr size_t PrintedValueLength = 40;
constexpr size_t ShownValueLength = 12;

std::vector<std::string> refusedLines;

// The value in double quotes, safe to print: bytes outside printable ASCII,
// quotes and backslashes escaped, a value longer than `length` cut with "...".
std::string Quoted(const std::string& value, size_t length)
{
    std::string quoted = "\"";
    for (size_t i = 0; i < value.size() && i < length; ++i) {
        const auto byte = static_cast<unsigned char>(value[i]);
        char escaped[8];
        if (byte == '"' || byte == '\\')
            std::snprintf(escaped, sizeof escaped, "\\%c", byte);
        else if (byte < ' ' || byte > '~')
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        else
            std::snprintf(escaped, sizeof escaped, "%c", byte);
        quoted += escaped;
    }
    quoted += '"';
    if (value.size() > length)
        quoted += "...";
    return quoted;
}

}  // namespace

void RefuseSetting(const char* setting, const std::string& value, const char* why, const std::string& kept)
{
    std::fprintf(stderr, "tervane: %s = %s: %s; it stays on %s\n", setting, Quoted(value, PrintedValueLength).c_str(),
                 why, kept.c_str());
    const std::string line = std::string(setting) + " = " + Quoted(value, ShownValueLength) + " refused, stays " + kept;
    if (std::find(refusedLines.begin(), refusedLines.end(), line) == refusedLines.end())
        refusedLines.push_back(line);
}

std::span<const std::string> RefusedSettingLines()
{
    return refusedLines;
}

void ForgetRefusedSettings()
{
    refusedLines.clear();
}
