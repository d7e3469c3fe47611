#include "runtime/prefs/key_value_reader.h"

#include "runtime/core/strings.h"
#include "runtime/prefs/preferences.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ReaderState {
    FILE* file = nullptr;
    char* text = nullptr;  // the loaded file, NUL-terminated
    size_t textLength = 0;
    std::string group;        // the name of the file's own group
    int notUnderstood = 0;    // 0, or the errno that says why the file is not the reader's whole
    std::string repeatedKey;  // the first key given twice, as its second line spells it
    char comment = ';';
};

ReaderState reader;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char* SkipSpaces(const char* p)
{
    while (*p == ' ')
        ++p;
    return p;
}

// Around the '=' tabs count as spaces too.
const char* SkipBlanks(const char* p)
{
    while (IsBlank(*p))
        ++p;
    return p;
}

// Editors on other systems may start the file with a UTF-8 byte-order mark.
const char* SkipByteOrderMark(const char* text)
{
    return strncmp(text, "\xEF\xBB\xBF", 3) == 0 ? text + 3 : text;
}

// The first CR or LF at or after `line`, or `end`; NUL bytes do not end a line.
const char* LineEnd(const char* line, const char* end)
{
    while (line < end && *line != '\r' && *line != '\n')
        ++line;
    return line;
}

const char* NextLine(const char* lineEnd, const char* end)
{
    return lineEnd + (lineEnd + 1 < end && lineEnd[0] == '\r' && lineEnd[1] == '\n' ? 2 : 1);
}

// Keys match ignoring ASCII case alone: strncasecmp follows the locale the
// window toolkit sets, and in a Turkish one 'I' is not the capital of 'i'.
char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameKey(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

// The group a file's name gives it: "Tervane" for "Tervane.ini".
std::string OwnGroup(const std::string& path)
{
    return std::filesystem::path(path).stem().string();
}

// A header naming the file's own group ("[Tervane]" in Tervane.ini) is what
// an editor that likes groups adds; the lines under it are the file's own.
bool IsOwnGroupHeader(const char* line, const char* lineEnd, const std::string& group)
{
    const size_t length = group.size();
    if (static_cast<size_t>(lineEnd - line) < length + 2 || line[0] != '[' || line[length + 1] != ']' ||
        !SameKey(line + 1, group.c_str(), length))
        return false;
    for (const char* p = line + length + 2; p < lineEnd; ++p) {
        if (!IsBlank(*p))
            return false;
    }
    return true;
}

// The length of the key token at `token`: up to a space, a tab, '=' or the
// line end.
size_t KeyLength(const char* token)
{
    return strcspn(token, " \t\r\n=");
}

// True for a line the writer's file could hold: blank, a comment, the own
// group's header or `key = value` with a key of printable ASCII, which goes
// to `key` (left empty for the other lines). A file with any other line is
// not wholly understood, so it is never replaced.
bool LineUnderstood(const char* line, const char* lineEnd, const std::string& group, std::string& key)
{
    key.clear();
    if (SkipBlanks(line) >= lineEnd || IsOwnGroupHeader(line, lineEnd, group))
        return true;
    const char* const token = SkipSpaces(line);
    if (*token == reader.comment)
        return true;
    const size_t length = KeyLength(token);
    for (size_t i = 0; i < length; ++i) {
        if (token[i] <= ' ' || token[i] > '~')
            return false;
    }
    key.assign(token, length);
    return length > 0 && *SkipBlanks(token + length) == '=';
}

// 0 when `text` is wholly the reader's. Otherwise EILSEQ, for NUL bytes (as
// in UTF-16) or any line the reader would skip or stop at; or EEXIST, for a
// key given twice, whose later line the reader never sees, with that key in
// `repeatedKey`.
int Understand(const char* text, size_t length, const std::string& group, std::string& repeatedKey)
{
    const char* const end = text + length;
    if (memchr(text, '\0', length) != nullptr)
        return EILSEQ;
    std::set<std::string> keys;  // in lower case, as keys match
    std::string key;
    for (const char* line = SkipByteOrderMark(text); line < end;) {
        const char* const lineEnd = LineEnd(line, end);
        if (!LineUnderstood(line, lineEnd, group, key))
            return EILSEQ;
        std::string lowered = key;
        std::transform(lowered.begin(), lowered.end(), lowered.begin(), LowerAscii);
        if (!key.empty() && !keys.insert(std::move(lowered)).second) {
            repeatedKey = key;
            return EEXIST;
        }
        if (lineEnd == end)
            break;
        line = NextLine(lineEnd, end);
    }
    return 0;
}

// Loads at most QV_PreferenceMaxFileSize bytes of the regular file open on
// `descriptor` into a NUL-terminated buffer from malloc, and tells in
// `notUnderstood` why the text is not wholly the reader's (EINVAL: not a
// regular file; EFBIG: larger than is read; EILSEQ: lines the reader does not
// take; EEXIST: `repeatedKey` given twice), 0 when it is. Nullptr when there
// is no text.
char* LoadText(int descriptor, const std::string& group, size_t& length, int& notUnderstood, std::string& repeatedKey)
{
    struct stat status;
    length = 0;
    notUnderstood = EINVAL;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        return nullptr;
    const size_t wanted =
        static_cast<size_t>(status.st_size < QV_PreferenceMaxFileSize ? status.st_size : QV_PreferenceMaxFileSize);
    char* const text = static_cast<char*>(malloc(wanted + 1));
    if (!text) {
        notUnderstood = ENOMEM;
        return nullptr;
    }
    // The size may change under us; only the bytes actually read count.
    for (ssize_t count = 1; length < wanted && count != 0;) {
        count = pread(descriptor, text + length, wanted - length, static_cast<off_t>(length));
        if (count < 0 && errno != EINTR)
            break;
        if (count > 0)
            length += static_cast<size_t>(count);
    }
    text[length] = '\0';
    notUnderstood = status.st_size > QV_PreferenceMaxFileSize ? EFBIG : Understand(text, length, group, repeatedKey);
    return text;
}

// The start of the value `line` gives `key`, its length in `length`; nullptr
// when the line is a comment or holds another key. The text's closing NUL
// stops every scan.
const char* ValueOnLine(const char* line, const char* key, size_t keyLength, size_t* length)
{
    const char* const token = SkipSpaces(line);
    if (*token == reader.comment)
        return nullptr;
    const size_t tokenLength = KeyLength(token);
    const char* const equals = SkipBlanks(token + tokenLength);
    if (*equals != '=' || tokenLength != keyLength || !SameKey(token, key, keyLength))
        return nullptr;
    const char* const value = SkipBlanks(equals + 1);
    *length = strcspn(value, "\n\r");
    return value;
}

// The value of the first line holding `key`; nullptr when no line before the
// first header of another group holds it. CR, LF and CR LF each end a line.
const char* FindValue(const char* key, size_t* length)
{
    const size_t keyLength = strlen(key);
    const char* const end = reader.text + reader.textLength;
    for (const char* line = SkipByteOrderMark(reader.text); line < end;) {
        const char* const lineEnd = LineEnd(line, end);
        const bool ownHeader = IsOwnGroupHeader(line, lineEnd, reader.group);
        if (*line == '[' && !ownHeader)
            break;
        if (const char* value = ownHeader ? nullptr : ValueOnLine(line, key, keyLength, length))
            return value;
        if (lineEnd == end)
            break;
        line = NextLine(lineEnd, end);
    }
    return nullptr;
}

}  // namespace

namespace tervane::prefs {

int Misunderstanding(int descriptor, const std::string& path)
{
    size_t length = 0;
    int notUnderstood = 0;
    std::string repeatedKey;
    free(LoadText(descriptor, OwnGroup(path), length, notUnderstood, repeatedKey));
    return notUnderstood;
}

void CloseReading()
{
    if (reader.file)
        fclose(reader.file);
    reader.file = nullptr;
    free(reader.text);
    reader.text = nullptr;
    reader.textLength = 0;
}

}  // namespace tervane::prefs

void QV_InitPreference()
{
    QV_ClosePreferences();
    reader.comment = ';';
}

FILE* QV_OpenPreferences(const char* path)
{
    QV_ClosePreferences();
    if (!path) {
        errno = EINVAL;
        return nullptr;
    }
    // Non-blocking, so that a pipe standing in for the file cannot hang the
    // start-up; only regular files are read.
    const int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    reader.file = fdopen(descriptor, "r");
    if (!reader.file) {
        close(descriptor);
        return nullptr;
    }
    reader.group = OwnGroup(path);
    reader.repeatedKey.clear();
    reader.text = LoadText(descriptor, reader.group, reader.textLength, reader.notUnderstood, reader.repeatedKey);
    return reader.file;
}

int32_t QV_PreferencesUnderstood()
{
    if (!reader.file) {
        errno = EBADF;
        return 0;
    }
    errno = reader.notUnderstood;
    return reader.notUnderstood == 0 ? 1 : 0;
}

const char* QV_PreferenceKeyGivenTwice()
{
    return reader.repeatedKey.c_str();
}

char* QV_ReadPreferenceString(const char* key, const char* defaultValue, char* destination)
{
    char* const result = QV_StringBase;
    QV_StringBase = destination;
    size_t length = 0;
    const char* value = nullptr;
    if (reader.file && reader.text && key && *key)
        value = FindValue(key, &length);
    if (value)
        QV_AppendText(value, static_cast<int32_t>(length));
    else
        QV_AppendText(defaultValue ? defaultValue : "", INT32_MAX);
    return result;
}
