// Runs the built tervane program in a child process, in a folder of its
// own, headless, and collects what it says and how it ends.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// An empty folder that is removed again with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "tervane-replay-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TemporaryFolder() { fs::remove_all(path_); }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const fs::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

inline std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The lines of `text`, without their line ends.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A frame's line as --frame-digests writes it.
inline std::string DigestLine(size_t frame, uint64_t digest)
{
    char line[40];
    std::snprintf(line, sizeof line, "%zu %016" PRIx64, frame, digest);
    return line;
}

struct TervaneRun {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs tervane with `arguments` in `folder`, with the dummy video and sound
// drivers and no display, so nothing can open a window; no file it writes
// may grow past `fileSizeLimit` bytes.
inline TervaneRun RunTervaneProgram(const std::vector<std::string>& arguments, const TemporaryFolder& folder,
                                    rlim_t fileSizeLimit = RLIM_INFINITY)
{
    const std::string out = folder / ".stdout";
    const std::string err = folder / ".stderr";
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.Path().c_str()) != 0)
            _exit(127);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = fileSizeLimit;
        setrlimit(RLIMIT_FSIZE, &limit);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        std::vector<char*> argv{const_cast<char*>(TERVANE_EXECUTABLE)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(TERVANE_EXECUTABLE, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    TervaneRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = FileText(out);
    run.err = FileText(err);
    fs::remove(out);
    fs::remove(err);
    return run;
}
