// The lock that lets one process at a time tidy the store when it closes. Two copies of the diary
// may close together (the one started at login and one the user opened, both ended by the
// logout); without the lock both could carry the same yearly entry over to next year.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "store/entry_files.h"
#include "store/file_writes.h"

namespace daybrook {

// The lock, or why it could not be had (below).
struct LockAttempt;

class [[nodiscard]] StoreLock {
public:
    // Waits up to `patience` for the exclusive lock on the store's lock file, made when missing. A
    // symbolic link in its place is not followed but replaced by a fresh lock file.
    // No lock when it could not be had: the caller then leaves the store alone. The kernel
    // releases the lock of a process that dies, so a crashed run never blocks a later one.
    static LockAttempt acquire(const StoreDir& dir, std::chrono::milliseconds patience);

    // A short note kept in the lock file, for whoever holds the lock next: what the last close did.
    // Empty when there is none or it cannot be read.
    std::string note() const;
    // Replaces the note. Not flushed to disk: a note lost in a crash only costs a longer close, and
    // one that cannot be written is cleared instead, for the same cost. False when the lock file
    // may still hold another note, or a part of one.
    [[nodiscard]] bool keep_note(std::string_view text) const;

    // Whether a symbolic link stood in the lock file's place and was replaced.
    bool replaced_link() const { return m_replaced_link; }

private:
    StoreLock(UniqueFd fd, bool replaced_link) : m_fd(std::move(fd)), m_replaced_link(replaced_link) {}
    UniqueFd m_fd;  // closing it releases the lock
    bool m_replaced_link = false;
};

struct [[nodiscard]] LockAttempt {
    std::optional<StoreLock> lock;
    // An errno value when there is no lock: EWOULDBLOCK when another process held it all along,
    // otherwise why the lock file could not be made or opened (a full disk, no permission).
    int error = 0;
};

}  // namespace daybrook
