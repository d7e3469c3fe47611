// Runs the built tervane program in a child process, in a folder of its
// own, headless, and collects what it says and how it ends.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
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

// Starts tervane with `arguments` in `folder`, with the dummy video and sound
// drivers and no display, so nothing can open a window, and a configuration
// folder inside `folder`, so the player's own settings play no part; no file
// it writes may grow past `fileSizeLimit` bytes. Ctrl-C reaches it as from a
// terminal, whatever the test runner ignores. `environment` then sets
// variables, or unsets those given nullptr.
using Environment = std::vector<std::pair<const char*, const char*>>;
inline pid_t StartTervaneProgram(const std::vector<std::string>& arguments, const TemporaryFolder& folder,
                                 rlim_t fileSizeLimit = RLIM_INFINITY, const Environment& environment = {})
{
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.Path().c_str()) != 0)
            _exit(127);
        dup2(open(".stdout", O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open(".stderr", O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = fileSizeLimit;
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGINT, SIG_DFL);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_CONFIG_HOME", (folder / ".config").c_str(), 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        for (const auto& [name, value] : environment)
            value != nullptr ? setenv(name, value, 1) : unsetenv(name);
        std::vector<char*> argv{const_cast<char*>(TERVANE_EXECUTABLE)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(TERVANE_EXECUTABLE, argv.data());
        _exit(127);
    }
    return child;
}

// Waits for the program StartTervaneProgram started in `folder` and collects
// what it said; one still running after `limit` is killed (status -1).
inline TervaneRun FinishTervaneProgram(pid_t child, const TemporaryFolder& folder,
                                       std::chrono::seconds limit = std::chrono::hours(1))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    TervaneRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = FileText(folder / ".stdout");
    run.err = FileText(folder / ".stderr");
    fs::remove(folder / ".stdout");
    fs::remove(folder / ".stderr");
    return run;
}

// Runs tervane as StartTervaneProgram starts it and waits for its end.
inline TervaneRun RunTervaneProgram(const std::vector<std::string>& arguments, const TemporaryFolder& folder,
                                    rlim_t fileSizeLimit = RLIM_INFINITY, const Environment& environment = {})
{
    return FinishTervaneProgram(StartTervaneProgram(arguments, folder, fileSizeLimit, environment), folder);
}
