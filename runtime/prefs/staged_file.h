// Files replaced in one step: the new bytes go to a temporary file beside the
// target, reach the disk, and only then are renamed over it, so the target
// holds either all of its old bytes or all of the new ones, whenever the
// writer dies. The settings file and the replays are written so.
//
// Symbolic links are followed to the file they finally name, which is the
// one replaced (or made, when a link dangles), so the links stay. A link
// another user put in a sticky folder everyone may write to is not followed:
// the kernel's protected-symlinks rule, kept whatever the system's setting.
#pragma once

#include <string>
#include <sys/stat.h>

// The file `path` finally names once every symbolic link on the way is
// followed; it need not exist. Empty, errno telling why, when a link cannot
// be read (as errno says), may not be followed (EACCES), or the links run in
// a loop (ELOOP).
std::string QV_FollowLinks(const std::string& path);

// A staged write: the file it replaces and the temporary file that holds the
// new bytes until they take its place.
struct QV_StagedFile {
    std::string target;     // as QV_FollowLinks gave it
    std::string temporary;  // empty once placed or dropped
};

// Creates the temporary file for `target` (a path QV_FollowLinks gave), with
// the permissions of the file it replaces (`replaced`, or null for a new
// file, which gets a new file's), after removing the temporaries that
// writers now gone left beside it. Returns its descriptor, which the caller
// writes and closes, or -1 (errno set) when none can be made.
int QV_CreateStagedFile(const std::string& target, const struct stat* replaced, QV_StagedFile& staged);

// Puts what was written through `descriptor` in the target's place: first on
// the disk, then renamed. True once placed; false (errno set) when it cannot
// be, and the target is left as it was.
bool QV_PlaceStagedFile(int descriptor, QV_StagedFile& staged);

// Removes the temporary file if it was never placed.
void QV_DropStagedFile(QV_StagedFile& staged);
