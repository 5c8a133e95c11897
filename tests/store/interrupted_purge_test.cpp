// The purge at close killed at each of its file operations in turn (strace injects the kill),
// then run again to the end: whatever the moment, the store ends exactly as after an unbroken
// close. No entry is lost, none is copied twice, and nothing half-written stays.
//
// Run with "--purge DIR", the program only purges DIR: that is the process strace kills.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "store/memo.h"
#include "store/retention.h"
#include "store/scratch_files.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::TempDir;

constexpr DayNumber today = 20793;  // 6 December 2026
constexpr KeepCode keep_code = KeepCode::none;

void seed(const StoreDir& dir) {
    add_entry(dir, 20792, Memo("Anniversary").yearly(1).red());  // yesterday: kept, marked
    add_entry(dir, 20700, Memo("Birthday").yearly(1));           // expired: copied, then deleted
    add_entry(dir, 20600, Memo("Dentist"));                      // expired
    write_scratch(dir, 0, encode(Memo("listed")));
}

enum class PurgeRun { killed, finished, broken };

// Runs a purge of the folder under strace, killed at the nth call of the system call; it
// finishes once the purge makes fewer such calls.
PurgeRun killed_purge(const std::string& self, const StoreDir& dir, const char* call, int nth) {
    const pid_t child = ::fork();
    if (child == 0) {
        // The leak checker of a sanitizer build cannot work under a tracer.
        ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        const std::string inject = std::string("inject=") + call + ":signal=SIGKILL:when=" + std::to_string(nth);
        ::execlp("strace", "strace", "-f", "-qq", "-o", "/dev/null", "-e", inject.c_str(),
                 self.c_str(), "--purge", dir.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return PurgeRun::killed;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? PurgeRun::finished : PurgeRun::broken;
}

bool strace_works() {
    return std::system("strace -qq -o /dev/null -e trace=none true >/dev/null 2>&1") == 0;
}

std::string self_path() {
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

TEST(InterruptedPurge, EndsAsAnUnbrokenCloseWhereverItWasKilled) {
    if (!strace_works()) GTEST_SKIP() << "strace cannot trace processes here";
    TempDir unbroken;
    seed(unbroken.path());
    purge_old(unbroken.path(), today, keep_code);
    const std::vector<std::string> expected = unbroken.names();
    ASSERT_EQ(expected, (std::vector<std::string>{".daybrook.lock", "DAT20792.000", "DAT21065.000", "DAT21157.000"}));

    int kills = 0;
    for (const char* call : {"openat", "write", "fsync", "renameat2", "rename", "unlink", "flock"}) {
        for (int nth = 1;; ++nth) {
            TempDir dir;
            seed(dir.path());
            const PurgeRun run = killed_purge(self_path(), dir.path(), call, nth);
            ASSERT_NE(run, PurgeRun::broken) << call << " " << nth;
            if (run == PurgeRun::finished) break;
            ++kills;
            purge_old(dir.path(), today, keep_code);
            ASSERT_EQ(dir.names(), expected) << "killed at " << call << " " << nth;
            for (const std::string& name : expected) {
                if (name.starts_with('.')) continue;
                EXPECT_EQ(dir.read(name), unbroken.read(name)) << name << ", killed at " << call << " " << nth;
            }
        }
    }
    EXPECT_GT(kills, 20);
}

}  // namespace
}  // namespace daybrook

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--purge") == 0) {
        daybrook::purge_old(argv[2], daybrook::today, daybrook::keep_code);
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
