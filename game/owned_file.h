// The files a run writes because the command line asked for them, opened so
// that nothing there can make the game wait or lose what a file held.
#pragma once

#include "runtime/prefs/staged_file.h"

#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A C stream that closes when its owner goes, for files a run keeps open.
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` for writing without waiting on it: a regular file, which is
// emptied, a character device, or a pipe or socket that something reads from.
// Anything else, and the very file `spared` names (when not empty), is
// refused: nullptr, with `error` the one line to show.
OwnedFile OpenOutputFile(const std::string& path, const std::string& spared, std::string& error);

// A file written under a temporary name beside `path` that takes the place of
// what is there only when Place() is called, so that an existing file is
// replaced only by something worth keeping; a temporary never placed is
// removed again. Links are followed as staged_file.h says: the file a link
// names is replaced, or made when the link dangles, and the link kept. Where
// `path` names something other than a regular file (a device, a pipe), that
// is written directly, as OpenOutputFile opens it.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&& other) noexcept;
    ~StagedFile();

    // An empty string, or the one line to show when `path` cannot be written.
    std::string Open(const std::string& path);
    // The stream to write; nullptr when nothing is open.
    std::FILE* Stream() const;
    // Puts the file in its place the first time; false (errno set) when it
    // cannot be.
    bool Place();
    // Closes the stream, removing the temporary file if it was never placed.
    // False (errno set) when what was written could not all reach the file.
    bool Close();

private:
    OwnedFile file_;
    QV_StagedFile staged_;  // no temporary once placed, or when written directly
};
