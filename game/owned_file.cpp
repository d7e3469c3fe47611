#include "game/owned_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

bool SameFile(const std::string& first, const std::string& second)
{
    struct stat a;
    struct stat b;
    return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
        a.st_ino == b.st_ino;
}

// Why a descriptor's file cannot take the run's output, or nullptr when it
// can: a block device would take it, but never as the player meant.
const char* Unwritable(int descriptor)
{
    struct stat status;
    if (fstat(descriptor, &status) != 0)
        return std::strerror(errno);
    if (S_ISREG(status.st_mode) || S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))
        return nullptr;
    return "not a file, a pipe or a character device";
}

OwnedFile StreamOn(int descriptor)
{
    OwnedFile file(fdopen(descriptor, "w"));
    if (!file)
        close(descriptor);
    return file;
}

std::string CannotBeCreated(const std::string& path, const std::string& why)
{
    return path + ": cannot be created: " + why;
}

}  // namespace

OwnedFile OpenOutputFile(const std::string& path, const std::string& spared, std::string& error)
{
    if (!spared.empty() && SameFile(path, spared)) {
        error = CannotBeCreated(path, "it is the replay itself");
        return nullptr;
    }
    // A pipe no one reads from would hold the open for ever; without
    // waiting it fails at once, with ENXIO.
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        error = CannotBeCreated(path, errno == ENXIO ? "a pipe nothing reads from" : std::strerror(errno));
        return nullptr;
    }
    struct stat status;
    const char* why = Unwritable(descriptor);
    if (why == nullptr && fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && ftruncate(descriptor, 0) != 0)
        why = std::strerror(errno);
    if (why != nullptr) {
        close(descriptor);
        error = CannotBeCreated(path, why);
        return nullptr;
    }
    // From here a pipe's reader sets the pace, as for any program's output.
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    OwnedFile file = StreamOn(descriptor);
    if (!file)
        error = CannotBeCreated(path, std::strerror(errno));
    return file;
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : file_(std::move(other.file_)), staged_(std::exchange(other.staged_, {}))
{
}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept
{
    if (this != &other) {
        Close();
        file_ = std::move(other.file_);
        staged_ = std::exchange(other.staged_, {});
    }
    return *this;
}

StagedFile::~StagedFile()
{
    Close();
}

std::string StagedFile::Open(const std::string& path)
{
    Close();
    const std::string target = QV_FollowLinks(path);
    if (target.empty())
        return CannotBeCreated(path, std::strerror(errno));
    struct stat status;
    const bool exists = stat(target.c_str(), &status) == 0;
    std::string error;
    if (exists && !S_ISREG(status.st_mode)) {
        file_ = OpenOutputFile(path, {}, error);
        return error;
    }
    const int descriptor = QV_CreateStagedFile(target, exists ? &status : nullptr, staged_);
    if (descriptor >= 0)
        file_ = StreamOn(descriptor);
    if (!file_) {
        error = CannotBeCreated(path, std::strerror(errno));
        QV_DropStagedFile(staged_);
    }
    return error;
}

std::FILE* StagedFile::Stream() const
{
    return file_.get();
}

bool StagedFile::Place()
{
    if (staged_.temporary.empty())
        return true;
    return std::fflush(file_.get()) == 0 && QV_PlaceStagedFile(fileno(file_.get()), staged_);
}

bool StagedFile::Close()
{
    const bool closed = !file_ || std::fclose(file_.release()) == 0;
    const int error = errno;
    QV_DropStagedFile(staged_);
    errno = error;
    return closed;
}
