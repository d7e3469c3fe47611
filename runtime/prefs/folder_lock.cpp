#include "runtime/prefs/preferences.h"
#include "runtime/prefs/staged_file.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace {

int lock = -1;  // the folder held

void Unlock()
{
    if (lock >= 0)
        close(lock);
    lock = -1;
}

}  // namespace

int32_t QV_LockPreferences(const char* path, int32_t waitMilliseconds)
{
    Unlock();
    if (!path) {
        errno = EINVAL;
        return 0;
    }
    // Copies started in two folders whose files link to one share its lock.
    const std::string target = QV_FollowLinks(path);
    const std::filesystem::path file = target.empty() ? std::filesystem::path(path) : std::filesystem::path(target);
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    lock = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lock < 0)
        return 0;
    constexpr int32_t PollMilliseconds = 10;
    for (int32_t waited = 0;; waited += PollMilliseconds) {
        if (flock(lock, LOCK_EX | LOCK_NB) == 0)
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

void QV_FreePreferences()
{
    QV_ClosePreferences();
    Unlock();
}
