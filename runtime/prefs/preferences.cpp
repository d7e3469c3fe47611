#include "runtime/prefs/preferences.h"

#include "runtime/core/strings.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <strings.h>
#include <sys/file.h>
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
    std::string group;      // reading: the name of the file's own group
    int notUnderstood = 0;  // reading: 0, or the errno that says why the file is not the reader's whole
    char comment = ';';
    // Writing only: the text is gathered in memory and reaches the disk in one
    // go when the file is closed, through `descriptor`.
    char* written = nullptr;
    size_t writtenLength = 0;
    int descriptor = -1;
    Commit commit = Commit::Rename;
    std::string targetPath;     // the regular file the write ends up in
    std::string temporaryPath;  // Commit::Rename only
    int lock = -1;              // the folder held by QV_LockPreferences
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
// False, errno telling the first failure, when the old settings stay.
bool FinishWriting()
{
    int failure = 0;
    const auto step = [&failure](bool done) {
        if (!done && failure == 0)
            failure = errno != 0 ? errno : EIO;
        return done;
    };
    errno = 0;
    const bool gathered = step(fflush(state.file) == 0 && !ferror(state.file));
    const bool closed = step(fclose(state.file) == 0);
    bool written = gathered && closed && step(WriteAll(state.descriptor, state.written, state.writtenLength));
    if (state.commit == Commit::InPlace)
        written = written && step(ftruncate(state.descriptor, static_cast<off_t>(state.writtenLength)) == 0);
    written = written && step(fsync(state.descriptor) == 0);
    written = step(close(state.descriptor) == 0) && written;
    if (state.commit == Commit::Rename) {
        written = written && step(rename(state.temporaryPath.c_str(), state.targetPath.c_str()) == 0);
        if (!written)
            unlink(state.temporaryPath.c_str());
    }
    free(state.written);
    state.written = nullptr;
    state.writtenLength = 0;
    state.descriptor = -1;
    state.targetPath.clear();
    state.temporaryPath.clear();
    errno = failure;
    return written;
}

// The kernel's rule for protected symbolic links: in a sticky folder that
// everyone may write to, a link is followed only when it belongs to the
// follower or to the folder's owner, so that no other user can plant one.
bool MayFollow(const fs::path& link)
{
    struct stat linkStatus;
    struct stat folderStatus;
    const fs::path folder = link.has_parent_path() ? link.parent_path() : fs::path(".");
    if (lstat(link.c_str(), &linkStatus) != 0 || stat(folder.c_str(), &folderStatus) != 0)
        return false;
    const bool shared = (folderStatus.st_mode & S_ISVTX) != 0 && (folderStatus.st_mode & S_IWOTH) != 0;
    return !shared || linkStatus.st_uid == geteuid() || linkStatus.st_uid == folderStatus.st_uid;
}

// The file `path` finally names once every symbolic link on the way is
// followed; it need not exist. Empty, errno telling why, when a link cannot
// be read or may not be followed, or the links run in a loop.
std::string FinalTarget(const char* path)
{
    fs::path target = path;
    std::error_code error;
    for (int hop = 0; hop <= MaxLinkHops; ++hop) {
        if (!fs::is_symlink(fs::symlink_status(target, error)))
            return target.string();
        if (!MayFollow(target)) {
            errno = EACCES;
            return {};
        }
        const fs::path link = fs::read_symlink(target, error);
        if (error) {
            errno = error.value();
            return {};
        }
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    errno = ELOOP;
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
    if (name.size() <= prefix + suffix || name.compare(0, targetName.size(), targetName) != 0 ||
        name[targetName.size()] != '.' || !name.ends_with(TemporarySuffix))
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

// ---- Reading ----------------------------------------------------------------

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

// The group a file's name gives it: "Tervane" for "Tervane.ini".
std::string OwnGroup(const char* path)
{
    return fs::path(path).stem().string();
}

// A header naming the file's own group ("[Tervane]" in Tervane.ini) is what
// an editor that likes groups adds; the lines under it are the file's own.
bool IsOwnGroupHeader(const char* line, const char* lineEnd, const std::string& group)
{
    const size_t length = group.size();
    if (static_cast<size_t>(lineEnd - line) < length + 2 || line[0] != '[' || line[length + 1] != ']' ||
        strncasecmp(line + 1, group.c_str(), length) != 0)
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
// group's header or `key = value` with a key of printable ASCII. A file with
// any other line is not wholly understood, so it is never replaced.
bool LineUnderstood(const char* line, const char* lineEnd, const std::string& group)
{
    if (SkipBlanks(line) >= lineEnd || IsOwnGroupHeader(line, lineEnd, group))
        return true;
    const char* const token = SkipSpaces(line);
    if (*token == state.comment)
        return true;
    const size_t length = KeyLength(token);
    for (size_t i = 0; i < length; ++i) {
        if (token[i] <= ' ' || token[i] > '~')
            return false;
    }
    return length > 0 && *SkipBlanks(token + length) == '=';
}

// 0 when `text` is wholly the reader's; otherwise EILSEQ. NUL bytes (as in
// UTF-16) and any line the reader would skip or stop at count against it.
int Understand(const char* text, size_t length, const std::string& group)
{
    const char* const end = text + length;
    if (memchr(text, '\0', length) != nullptr)
        return EILSEQ;
    for (const char* line = SkipByteOrderMark(text); line < end;) {
        const char* const lineEnd = LineEnd(line, end);
        if (!LineUnderstood(line, lineEnd, group))
            return EILSEQ;
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
// take), 0 when it is. Nullptr when there is no text.
char* LoadText(int descriptor, const std::string& group, size_t& length, int& notUnderstood)
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
    notUnderstood = status.st_size > QV_PreferenceMaxFileSize ? EFBIG : Understand(text, length, group);
    return text;
}

// Opens the existing target for reading and writing, or gives -1 (errno set)
// when it must be left alone: something other than a regular file (EINVAL),
// a file whose mode lets no one read it or no one write it (EACCES: even root
// keeps off it), one the player cannot open so, and one the reader does not
// wholly understand (EFBIG, EILSEQ), whose other lines the new text would lose.
int OpenExistingTarget(const std::string& target, struct stat& status)
{
    if (!S_ISREG(status.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    if ((status.st_mode & 0444) == 0 || (status.st_mode & 0222) == 0) {
        errno = EACCES;
        return -1;
    }
    const int descriptor = open(target.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return -1;
    size_t length = 0;
    int notUnderstood = 0;
    free(LoadText(descriptor, OwnGroup(target.c_str()), length, notUnderstood));
    if (fstat(descriptor, &status) != 0 || notUnderstood != 0) {
        close(descriptor);
        errno = notUnderstood != 0 ? notUnderstood : EINVAL;
        return -1;
    }
    return descriptor;
}

// The start of the value `line` gives `key`, its length in `length`; nullptr
// when the line is a comment or holds another key. The text's closing NUL
// stops every scan.
const char* ValueOnLine(const char* line, const char* key, size_t keyLength, size_t* length)
{
    const char* const token = SkipSpaces(line);
    if (*token == state.comment)
        return nullptr;
    const size_t tokenLength = KeyLength(token);
    const char* const equals = SkipBlanks(token + tokenLength);
    if (*equals != '=' || tokenLength != keyLength || strncasecmp(token, key, keyLength) != 0)
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
    const char* const end = state.text + state.textLength;
    for (const char* line = SkipByteOrderMark(state.text); line < end;) {
        const char* const lineEnd = LineEnd(line, end);
        const bool ownHeader = IsOwnGroupHeader(line, lineEnd, state.group);
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

void Unlock()
{
    if (state.lock >= 0)
        close(state.lock);
    state.lock = -1;
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
    state.group = OwnGroup(path);
    state.text = LoadText(descriptor, state.group, state.textLength, state.notUnderstood);
    return state.file;
}

int32_t QV_PreferencesUnderstood()
{
    if (!state.file || state.mode != Mode::Reading) {
        errno = EBADF;
        return 0;
    }
    errno = state.notUnderstood;
    return state.notUnderstood == 0 ? 1 : 0;
}

FILE* QV_CreatePreferences(const char* path)
{
    QV_ClosePreferences();
    if (!path) {
        errno = EINVAL;
        return nullptr;
    }
    const std::string target = FinalTarget(path);
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

int32_t QV_ClosePreferences()
{
    bool written = true;
    if (state.file) {
        if (state.mode == Mode::Writing)
            written = FinishWriting();
        else
            fclose(state.file);
        state.file = nullptr;
    }
    free(state.text);
    state.text = nullptr;
    state.textLength = 0;
    return written ? 1 : 0;
}

void QV_FreePreferences()
{
    QV_ClosePreferences();
    Unlock();
}

int32_t QV_LockPreferences(const char* path, int32_t waitMilliseconds)
{
    Unlock();
    if (!path) {
        errno = EINVAL;
        return 0;
    }
    const fs::path file = path;
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    state.lock = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state.lock < 0)
        return 0;
    constexpr int32_t PollMilliseconds = 10;
    for (int32_t waited = 0;; waited += PollMilliseconds) {
        if (flock(state.lock, LOCK_EX | LOCK_NB) == 0)
            return 1;
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= waitMilliseconds)
            break;
        const timespec pause = {0, PollMilliseconds * 1000000L};
        nanosleep(&pause, nullptr);
    }
    const int failure = errno;
    Unlock();
    errno = failure;
    return 0;
}

void QV_UnlockPreferences()
{
    Unlock();
}
