#include "runtime/prefs/preferences.h"

#include "runtime/core/strings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

enum class Mode { Reading, Writing };

struct PreferenceState {
    FILE* file = nullptr;
    Mode mode = Mode::Reading;
    char* text = nullptr;  // the loaded file, NUL-terminated; reading only
    size_t textLength = 0;
    char comment = ';';
    std::string targetPath;     // the file a write replaces; writing only
    std::string temporaryPath;  // where the write goes until it is closed
};

PreferenceState state;

// Closes the file being written and, only if every byte made it to the disk,
// moves it over the target; a failed write leaves the old settings in place.
void FinishWriting()
{
    const bool written = fflush(state.file) == 0 && !ferror(state.file)
                         && fsync(fileno(state.file)) == 0;
    const bool closed = fclose(state.file) == 0;
    if (!(written && closed && rename(state.temporaryPath.c_str(), state.targetPath.c_str()) == 0))
        unlink(state.temporaryPath.c_str());
    state.targetPath.clear();
    state.temporaryPath.clear();
}

// Loads at most QV_PreferenceMaxFileSize bytes of a regular file; anything
// else (a directory, a pipe, a device) gives no text, and so the defaults.
void LoadText(int descriptor)
{
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        return;
    const size_t wanted = static_cast<size_t>(
        status.st_size < QV_PreferenceMaxFileSize ? status.st_size : QV_PreferenceMaxFileSize);
    state.text = static_cast<char*>(malloc(wanted + 1));
    if (!state.text)
        return;
    // The size may change under us; only the bytes actually read count.
    state.textLength = fread(state.text, 1, wanted, state.file);
    state.text[state.textLength] = '\0';
}

const char* SkipSpaces(const char* p)
{
    while (*p == ' ')
        ++p;
    return p;
}

// The start of the value `line` gives `key`, its length in `length`; nullptr
// when the line is a comment or holds another key. The text's closing NUL
// stops every scan.
const char* ValueOnLine(const char* line, const char* key, size_t keyLength, size_t* length)
{
    const char* const token = SkipSpaces(line);
    if (*token == state.comment)
        return nullptr;
    const size_t tokenLength = strcspn(token, " \n=");
    const char* const equals = SkipSpaces(token + tokenLength);
    if (*equals != '=' || tokenLength != keyLength || strncasecmp(token, key, keyLength) != 0)
        return nullptr;
    const char* const value = SkipSpaces(equals + 1);
    *length = strcspn(value, "\n\r");
    return value;
}

// The value of the first line holding `key`; nullptr when no line before the
// first group header holds it.
const char* FindValue(const char* key, size_t* length)
{
    const size_t keyLength = strlen(key);
    const char* const end = state.text + state.textLength;
    for (const char* line = state.text; line < end && *line != '[';) {
        if (const char* value = ValueOnLine(line, key, keyLength, length))
            return value;
        const void* lineEnd = memchr(line, '\n', static_cast<size_t>(end - line));
        if (!lineEnd)
            break;
        line = static_cast<const char*>(lineEnd) + 1;
    }
    return nullptr;
}

}  // namespace

void QV_InitPreference()
{
    QV_ClosePreferences();
    state.comment = ';';
}

FILE* QV_OpenPreferences(const char* path)
{
    QV_ClosePreferences();
    if (!path)
        return nullptr;
    // Non-blocking, so that a pipe standing in for the file cannot hang the
    // start-up; only regular files are read.
    const int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    state.file = fdopen(descriptor, "r");
    if (!state.file) {
        close(descriptor);
        return nullptr;
    }
    state.mode = Mode::Reading;
    LoadText(descriptor);
    return state.file;
}

FILE* QV_CreatePreferences(const char* path)
{
    QV_ClosePreferences();
    // A directory in the file's place could never be replaced, so the write
    // would be lost at closing; it fails here, where the caller can tell.
    struct stat old;
    const bool replacing = path && stat(path, &old) == 0;
    if (!path || (replacing && S_ISDIR(old.st_mode)))
        return nullptr;
    // Beside the target, so that the final rename stays on one file system.
    std::string temporaryPath = std::string(path) + "." + std::to_string(getpid()) + ".tmp";
    int descriptor = -1;
    for (int attempt = 0; attempt < 2 && descriptor < 0; ++attempt) {
        descriptor = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        // A leftover of an earlier run that died under the same process id.
        if (descriptor < 0 && errno == EEXIST)
            unlink(temporaryPath.c_str());
    }
    if (descriptor < 0)
        return nullptr;
    // The new file replaces the old one with the old one's permissions.
    if (replacing)
        fchmod(descriptor, old.st_mode & 07777);
    state.file = fdopen(descriptor, "w");
    if (!state.file) {
        close(descriptor);
        unlink(temporaryPath.c_str());
        return nullptr;
    }
    state.mode = Mode::Writing;
    state.targetPath = path;
    state.temporaryPath = std::move(temporaryPath);
    return state.file;
}

char* QV_ReadPreferenceString(const char* key, const char* defaultValue, char* destination)
{
    char* const result = QV_StringBase;
    QV_StringBase = destination;
    size_t length = 0;
    const char* value = nullptr;
    if (state.file && state.mode == Mode::Reading && state.text && key && *key)
        value = FindValue(key, &length);
    if (value)
        QV_AppendText(value, static_cast<int32_t>(length));
    else
        QV_AppendText(defaultValue ? defaultValue : "", INT32_MAX);
    return result;
}

void QV_WritePreferenceString(const char* key, const char* value)
{
    if (!state.file || !key || !*key)
        return;
    for (const char* part : {key, " = ", value ? value : "", "\r\n"})
        fwrite(part, 1, strlen(part), state.file);
}

void QV_ClosePreferences()
{
    if (state.file) {
        if (state.mode == Mode::Writing)
            FinishWriting();
        else
            fclose(state.file);
        state.file = nullptr;
    }
    free(state.text);
    state.text = nullptr;
    state.textLength = 0;
}

void QV_FreePreferences()
{
    QV_ClosePreferences();
}
