// The test program started again under strace, with a fault injected into its system calls: how
// the fault tests run one piece of work in a process of its own that strace kills or refuses.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace daybrook::testing {

enum class Outcome { killed, finished, failed_to_run };

struct TracedRun {
    Outcome outcome;
    int problems = 0;  // the exit status of a finished run: the problems the work reported
};

// Runs this program with `arguments` under strace's `inject=` expression `injection`.
inline TracedRun run_traced(const std::string& injection, const std::vector<std::string>& arguments) {
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    self[length > 0 ? length : 0] = '\0';
    const std::string inject = "inject=" + injection;
    std::vector<const char*> argv = {"strace", "-f", "-qq", "-o", "/dev/null", "-e", inject.c_str(), self};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        // The leak checker of a sanitizer build cannot work under a tracer.
        ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        ::execvp("strace", const_cast<char* const*>(argv.data()));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return {Outcome::killed};
    if (!WIFEXITED(status) || WEXITSTATUS(status) >= 100) return {Outcome::failed_to_run};
    return {Outcome::finished, WEXITSTATUS(status)};
}

// Runs this program with `arguments` under strace, which writes the calls named in `calls` (its
// `trace=` expression) to `log`, one a line. False when the run did not end with status 0.
inline bool run_logged(const std::string& calls, const std::string& log, const std::vector<std::string>& arguments) {
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    self[length > 0 ? length : 0] = '\0';
    // The leak checker of a sanitizer build cannot work under a tracer.
    std::string command = "ASAN_OPTIONS=detect_leaks=0 strace -qq -o '" + log + "' -e trace=" + calls + " '" + self + "'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    return std::system(command.c_str()) == 0;
}

inline bool strace_works() { return std::system("strace -qq -o /dev/null -e trace=none true >/dev/null 2>&1") == 0; }

}  // namespace daybrook::testing
