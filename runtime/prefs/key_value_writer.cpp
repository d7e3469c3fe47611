#include "runtime/prefs/key_value_reader.h"
#include "runtime/prefs/preferences.h"
#include "runtime/prefs/staged_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct WriterState {
    // The text is gathered in memory through `file` and reaches the disk in
    // one go when the file is closed, through `descriptor`.
    FILE* file = nullptr;
    char* written = nullptr;
    size_t writtenLength = 0;
    int descriptor = -1;
    // Beside the target, renamed over it; without a temporary file the
    // target itself is overwritten, which keeps its links and owner.
    QV_StagedFile staged;
    bool inPlace = false;
};

WriterState writer;

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
    const bool gathered = step(fflush(writer.file) == 0 && !ferror(writer.file));
    const bool closed = step(fclose(writer.file) == 0);
    bool written = gathered && closed && step(WriteAll(writer.descriptor, writer.written, writer.writtenLength));
    if (writer.inPlace) {
        written = written && step(ftruncate(writer.descriptor, static_cast<off_t>(writer.writtenLength)) == 0);
        written = written && step(fsync(writer.descriptor) == 0);
    } else {
        written = written && step(QV_PlaceStagedFile(writer.descriptor, writer.staged));
    }
    written = step(close(writer.descriptor) == 0) && written;
    QV_DropStagedFile(writer.staged);
    free(writer.written);
    writer = {};
    errno = failure;
    return written;
}

// Opens the existing target for reading and writing, or gives -1 (errno set)
// when it must be left alone: something other than a regular file (EINVAL),
// a file whose mode lets no one read it or no one write it (EACCES: even root
// keeps off it), one the player cannot open so, and one the reader does not
// wholly understand (EFBIG, EILSEQ, EEXIST), whose other lines the new text
// would lose.
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
    const int notUnderstood = tervane::prefs::Misunderstanding(descriptor, target);
    if (fstat(descriptor, &status) != 0 || notUnderstood != 0) {
        close(descriptor);
        errno = notUnderstood != 0 ? notUnderstood : EINVAL;
        return -1;
    }
    return descriptor;
}

// The descriptor the new text goes through: a temporary file beside the
// target, or, when none can be made (in a read-only folder, say) or a rename
// would cut a hard link or hand another user's file to us, the existing
// target itself. -1, errno set, when there is neither.
int WritingDescriptor(const std::string& target, int existing, const struct stat& old)
{
    const bool keepFile = existing >= 0 && (old.st_nlink > 1 || old.st_uid != geteuid());
    const int temporary = keepFile ? -1 : QV_CreateStagedFile(target, existing >= 0 ? &old : nullptr, writer.staged);
    writer.inPlace = temporary < 0;
    if (temporary < 0)
        return existing;
    if (existing >= 0)
        close(existing);
    return temporary;
}

}  // namespace

FILE* QV_CreatePreferences(const char* path)
{
    QV_ClosePreferences();
    if (!path) {
        errno = EINVAL;
        return nullptr;
    }
    const std::string target = QV_FollowLinks(path);
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
    const int descriptor = WritingDescriptor(target, existing, old);
    if (descriptor < 0)
        return nullptr;
    writer.file = open_memstream(&writer.written, &writer.writtenLength);
    if (!writer.file) {
        close(descriptor);
        QV_DropStagedFile(writer.staged);
        writer = {};
        return nullptr;
    }
    writer.descriptor = descriptor;
    return writer.file;
}

void QV_WritePreferenceString(const char* key, const char* value)
{
    if (!writer.file || !key || !*key)
        return;
    for (const char* part : {key, " = ", value ? value : "", "\r\n"})
        fwrite(part, 1, strlen(part), writer.file);
}

int32_t QV_ClosePreferences()
{
    tervane::prefs::CloseReading();
    return !writer.file || FinishWriting() ? 1 : 0;
}
