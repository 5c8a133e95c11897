// The store's lock for the terminal commands that change the diary: an import, its undo and a
// sync hold it, so that two of them, or one and a close, never work on the folder at once.
#pragma once

#include <optional>

#include "app/terminal_run.h"
#include "store/store_lock.h"

namespace daybrook {

// The lock, or nothing after saying why it could not be had, after "Daybrook " and the words of
// `nothing_done` ("added nothing"): another copy of the diary holding it, or the reason the lock
// file could not be made, such as a full disk or a folder the user cannot write in.
std::optional<StoreLock> lock_store(const TerminalRun& run, const char* nothing_done);

}  // namespace daybrook
