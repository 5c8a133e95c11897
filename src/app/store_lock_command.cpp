#include "app/store_lock_command.h"

#include <cerrno>
#include <cstring>

#include "store/retention.h"

namespace daybrook {

std::optional<StoreLock> lock_store(const TerminalRun& run, const char* nothing_done) {
    LockAttempt attempt = StoreLock::acquire(run.folder, default_lock_patience);
    if (attempt.lock) return std::move(attempt.lock);
    run.err << "Daybrook " << nothing_done;
    if (attempt.error == EWOULDBLOCK)
        run.err << ": another copy of the diary holds its folder\n";
    else
        run.err << ": it cannot make its lock file in the diary folder " << QString::fromStdString(run.folder.string())
                << " (" << std::strerror(attempt.error) << ")\n";
    return std::nullopt;
}

}  // namespace daybrook
