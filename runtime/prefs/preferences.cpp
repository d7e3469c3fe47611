#include "runtime/prefs/preferences.h"

#include "runtime/core/strings.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <strings.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

enum class Mode { Reading, Writing };

// How the written text takes the old file's place when it is closed.
enum class Commit {
    Rename,   // a temporary file beside the target is renamed over it
    InPlace,  // the target itself is overwritten: keeps its links and owner
};

struct PreferenceState {
    FILE* file = nullptr;  // reading: the file; writing: a stream into `written`
    Mode mode = Mode::Reading;
    char* text = nullptr;  // the loaded file, NUL-terminated; reading only
    size_t textLength = 0;
    char comment = ';';
    // Writing only: the text is gathered in memory and reaches the disk in one
    // go when the file is closed, through `descriptor`.
    char* written = nullptr;
    size_t writtenLength = 0;
    int descriptor = -1;
    Commit commit = Commit::Rename;
    std::string targetPath;     // the regular file the write ends up in
    std::string temporaryPath;  // Commit::Rename only
};

PreferenceState state;

// As many links as the kernel follows before it gives up with ELOOP.
constexpr int MaxLinkHops = 40;
constexpr const char* TemporarySuffix = ".tmp";

// ---- Writing ----------------------------------------------------------------

bool WriteAll(int descriptor, const char* bytes, size_t length)
{
    for (size_t done = 0; done < length;) {
        const ssize_t count = pwrite(descriptor, bytes + done, length - done, static_cast<off_t>(done));
        if (count < 0 && errno != EINTR)
            return false;
        if (count > 0)
            done += static_cast<size_t>(count);
    }
    return true;
}

// Writes the gathered text through the descriptor and, only if every byte
// made it to the disk, moves the temporary file over the target; a failed
// write leaves the old settings in place. Rewriting in place puts the new
// lines over the old ones before cutting the file to length, so a writer
// killed in between leaves the new lines first, which are the ones read.
void FinishWriting()
{
    const bool gathered = fflush(state.file) == 0 && !ferror(state.file);
    const bool closed = fclose(state.file) == 0;
    bool written = gathered && closed && WriteAll(state.descriptor, state.written, state.writtenLength);
    if (state.commit == Commit::InPlace)
        written = written && ftruncate(state.descriptor, static_cast<off_t>(state.writtenLength)) == 0;
    written = written && fsync(state.descriptor) == 0;
    written = close(state.descriptor) == 0 && written;
    if (state.commit == Commit::Rename
        && !(written && rename(state.temporaryPath.c_str(), state.targetPath.c_str()) == 0))
        unlink(state.temporaryPath.c_str());
    free(state.written);
    state.written = nullptr;
    state.writtenLength = 0;
    state.descriptor = -1;
    state.targetPath.clear();
    state.temporaryPath.clear();
}

// The file `path` finally names once every symbolic link on the way is
// followed; it need not exist. Empty when a link cannot be read or the links
// run in a loop.
std::string FinalTarget(const char* path)
{
    fs::path target = path;
    std::error_code error;
    for (int hop = 0; hop <= MaxLinkHops; ++hop) {
        if (!fs::is_symlink(fs::symlink_status(target, error)))
            return target.string();
        const fs::path link = fs::read_symlink(target, error);
        if (error)
            return {};
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return {};
}

// Beside the target, so that the final rename stays on one file system; the
// writer's process id keeps two writers apart and tells whether it is gone.
std::string TemporaryPath(const std::string& target, pid_t writer)
{
    return target + "." + std::to_string(writer) + TemporarySuffix;
}

// The process id in the name of one of `target`'s temporary files, or 0 when
// `name` is not one.
pid_t TemporaryWriter(const std::string& name, const std::string& targetName)
{
    const size_t prefix = targetName.size() + 1;
    const size_t suffix = strlen(TemporarySuffix);
    if (name.size() <= prefix + suffix || name.compare(0, targetName.size(), targetName) != 0
        || name[targetName.size()] != '.' || !name.ends_with(TemporarySuffix))
        return 0;
    const char* const first = name.data() + prefix;
    const char* const last = name.data() + name.size() - suffix;
    pid_t writer = 0;
    const auto [end, error] = std::from_chars(first, last, writer);
    return error == std::errc() && end == last && writer > 0 ? writer : 0;
}

// A writer killed between writing and renaming leaves its temporary file
// behind; the next write clears those of writers that are gone.
void RemoveStaleTemporaries(const std::string& target)
{
    const fs::path targetPath = target;
    const std::string targetName = targetPath.filename().string();
    const fs::path folder = targetPath.has_parent_path() ? targetPath.parent_path() : fs::path(".");
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const pid_t writer = TemporaryWriter(entry.path().filename().string(), targetName);
        if (writer != 0 && writer != getpid() && kill(writer, 0) != 0 && errno == ESRCH)
            unlink(entry.path().c_str());
    }
}

// Creates the temporary file for `target` with the mode of the regular file
// it replaces (`replaced`, or null for a new file, which gets fopen's mode).
// Returns its descriptor, or -1.
int CreateTemporary(const std::string& target, const struct stat* replaced, std::string& temporaryPath)
{
    temporaryPath = TemporaryPath(target, getpid());
    int descriptor = -1;
    for (int attempt = 0; attempt < 2 && descriptor < 0; ++attempt) {
        descriptor = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        // A leftover of an earlier run that died under the same process id.
        if (descriptor < 0 && errno == EEXIST)
            unlink(temporaryPath.c_str());
    }
    if (descriptor >= 0 && replaced)
        fchmod(descriptor, replaced->st_mode & 07777);
    return descriptor;
}

// Opens the existing target for reading and writing, or gives -1 (errno set)
// when it cannot be: a file the player cannot read or made read-only is theirs
// to keep, and something other than a regular file is never replaced.
int OpenExistingTarget(const std::string& target, struct stat& status)
{
    if (!S_ISREG(status.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    const int descriptor = open(target.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor >= 0 && (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))) {
        close(descriptor);
        errno = EINVAL;
        return -1;
    }
    return descriptor;
}

// ---- Reading ----------------------------------------------------------------

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

// The start of the value `line` gives `key`, its length in `length`; nullptr
// when the line is a comment or holds another key. The text's closing NUL
// stops every scan.
const char* ValueOnLine(const char* line, const char* key, size_t keyLength, size_t* length)
{
    const char* const token = SkipSpaces(line);
    if (*token == state.comment)
        return nullptr;
    const size_t tokenLength = strcspn(token, " \r\n=");
    const char* const equals = SkipSpaces(token + tokenLength);
    if (*equals != '=' || tokenLength != keyLength || strncasecmp(token, key, keyLength) != 0)
        return nullptr;
    const char* const value = SkipSpaces(equals + 1);
    *length = strcspn(value, "\n\r");
    return value;
}

// The value of the first line holding `key`; nullptr when no line before the
// first group header holds it. CR, LF and CR LF each end a line.
const char* FindValue(const char* key, size_t* length)
{
    const size_t keyLength = strlen(key);
    const char* const end = state.text + state.textLength;
    for (const char* line = SkipByteOrderMark(state.text); line < end && *line != '[';) {
        if (const char* value = ValueOnLine(line, key, keyLength, length))
            return value;
        const char* const lineEnd = LineEnd(line, end);
        if (lineEnd == end)
            break;
        line = lineEnd + (lineEnd[0] == '\r' && lineEnd[1] == '\n' ? 2 : 1);
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
    if (!path) {
        errno = EINVAL;
        return nullptr;
    }
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
    const std::string target = path ? FinalTarget(path) : std::string();
    if (target.empty())
        return nullptr;
    struct stat old;
    int existing = -1;
    if (stat(target.c_str(), &old) == 0) {
        existing = OpenExistingTarget(target, old);
        if (existing < 0)
            return nullptr;
    } else if (errno != ENOENT) {
        return nullptr;
    }
    RemoveStaleTemporaries(target);

    // A rename would cut a hard link and hand another user's file to us;
    // overwriting keeps both, at the price of atomicity.
    const bool keepFile = existing >= 0 && (old.st_nlink > 1 || old.st_uid != geteuid());
    std::string temporaryPath;
    const int temporary = keepFile ? -1 : CreateTemporary(target, existing >= 0 ? &old : nullptr, temporaryPath);
    Commit commit = Commit::InPlace;
    int descriptor = existing;
    if (temporary >= 0) {
        if (existing >= 0)
            close(existing);
        commit = Commit::Rename;
        descriptor = temporary;
    } else if (existing < 0) {
        return nullptr;
    }
    // Without a temporary file (in a read-only folder, say) the file is
    // overwritten rather than the run's settings lost.
    state.file = open_memstream(&state.written, &state.writtenLength);
    if (!state.file) {
        close(descriptor);
        if (commit == Commit::Rename)
            unlink(temporaryPath.c_str());
        return nullptr;
    }
    state.mode = Mode::Writing;
    state.commit = commit;
    state.descriptor = descriptor;
    state.targetPath = target;
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
