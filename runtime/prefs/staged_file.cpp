#include "runtime/prefs/staged_file.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// As many links as the kernel follows before it gives up with ELOOP.
constexpr int MaxLinkHops = 40;
constexpr const char* TemporarySuffix = ".tmp";

fs::path FolderOf(const fs::path& file)
{
    return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// The kernel's rule for protected symbolic links: in a sticky folder that
// everyone may write to, a link is followed only when it belongs to the
// follower or to the folder's owner, so that no other user can plant one.
bool MayFollow(const fs::path& link)
{
    struct stat linkStatus;
    struct stat folderStatus;
    if (lstat(link.c_str(), &linkStatus) != 0 || stat(FolderOf(link).c_str(), &folderStatus) != 0)
        return false;
    const bool shared = (folderStatus.st_mode & S_ISVTX) != 0 && (folderStatus.st_mode & S_IWOTH) != 0;
    return !shared || linkStatus.st_uid == geteuid() || linkStatus.st_uid == folderStatus.st_uid;
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
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(FolderOf(targetPath), error)) {
        const pid_t writer = TemporaryWriter(entry.path().filename().string(), targetName);
        if (writer != 0 && writer != getpid() && kill(writer, 0) != 0 && errno == ESRCH)
            unlink(entry.path().c_str());
    }
}

}  // namespace

std::string QV_FollowLinks(const std::string& path)
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

int QV_CreateStagedFile(const std::string& target, const struct stat* replaced, QV_StagedFile& staged)
{
    RemoveStaleTemporaries(target);
    staged.target = target;
    staged.temporary = TemporaryPath(target, getpid());
    int descriptor = -1;
    for (int attempt = 0; attempt < 2 && descriptor < 0; ++attempt) {
        descriptor = open(staged.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        // A leftover of an earlier run that died under the same process id.
        if (descriptor < 0 && errno == EEXIST)
            unlink(staged.temporary.c_str());
    }
    if (descriptor < 0)
        staged.temporary.clear();
    else if (replaced)
        fchmod(descriptor, replaced->st_mode & 07777);
    return descriptor;
}

bool QV_PlaceStagedFile(int descriptor, QV_StagedFile& staged)
{
    if (staged.temporary.empty()) {
        errno = EBADF;
        return false;
    }
    // Renamed before its bytes are on the disk, the file could be found empty
    // after a crash, with the old one gone.
    if (fsync(descriptor) != 0 || std::rename(staged.temporary.c_str(), staged.target.c_str()) != 0)
        return false;
    staged.temporary.clear();
    return true;
}

void QV_DropStagedFile(QV_StagedFile& staged)
{
    if (!staged.temporary.empty())
        unlink(staged.temporary.c_str());
    staged.temporary.clear();
}
