// wabtool as a process of its own, for the tests that run it as people do.
#pragma once

#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace wabtooltest {

// Starts wabtool with its standard output and error in the files (one file
// may take both) and at most `memoryLimit` bytes of address space (0: no
// limit).
inline pid_t StartTool(const std::vector<std::string>& args, const std::string& out,
                       const std::string& err, rlim_t memoryLimit = 0) {
    const pid_t child = fork();
    if (child == 0) {
        if (memoryLimit != 0) {
            rlimit limit{memoryLimit, memoryLimit};
            setrlimit(RLIMIT_AS, &limit);
        }
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd =
            err == out ? outFd : open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(outFd, 1);
        dup2(errFd, 2);
        std::vector<char*> argv{const_cast<char*>(WABTOOL_PATH)};
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        execv(WABTOOL_PATH, argv.data());
        _exit(127);
    }
    return child;
}

// The exit status, or 128 + the signal that ended it.
inline int WaitTool(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace wabtooltest
