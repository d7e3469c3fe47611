// Permission tests: CI runs as root, and root ignores file modes, so the cases
// that depend on them run in a forked child that first becomes `nobody`.
#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

// The user a permission test runs as: `nobody` under root, else the caller.
inline const passwd* UnprivilegedUser()
{
    return geteuid() == 0 ? getpwnam("nobody") : getpwuid(geteuid());
}

// Hands `folder` to that user, so that it can make and change files there.
inline bool GiveToUnprivilegedUser(const std::filesystem::path& folder)
{
    const passwd* user = UnprivilegedUser();
    return user && chown(folder.c_str(), user->pw_uid, user->pw_gid) == 0;
}

// For a forked child only: drops root for good. Ends the child with status 2
// when that fails, so a test cannot pass as root by accident.
inline void BecomeUnprivileged()
{
    if (geteuid() != 0)
        return;
    const passwd* user = UnprivilegedUser();
    if (!user || setgroups(0, nullptr) != 0 || setgid(user->pw_gid) != 0 || setuid(user->pw_uid) != 0 ||
        geteuid() == 0) {
        std::fputs("cannot drop to an unprivileged user\n", stderr);
        std::_Exit(2);
    }
}
