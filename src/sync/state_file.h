// The file that keeps the state of the last sync (sync_state.h) beside the entries. It is the
// diary's own: private, replaced whole through a temporary file, and never written through a
// symbolic link. A state file that is there but cannot be read counts as damaged, never as none,
// so that the sync's report says so rather than starting afresh in silence.
#pragma once

#include <string>
#include <string_view>

#include "store/entry_files.h"
#include "sync/sync_state.h"

namespace daybrook {

inline constexpr std::string_view sync_state_file = ".daybrook-sync";

// Whether a file name is the state file's.
inline bool is_state_file_name(std::string_view name) noexcept { return name == sync_state_file; }

enum class StateRead { none, loaded, damaged };

struct LoadedState {
    StateRead outcome = StateRead::none;
    SyncState state;  // empty unless loaded
};

// The state of the last sync with `vdir`; none when there is no file or it belongs to another
// vdir, damaged when it cannot be read (a directory, a FIFO, a file the user may not read) or
// trusted.
[[nodiscard]] LoadedState load_sync_state(const StoreDir& dir, const std::string& vdir);

// Replaces the state file by a private regular file holding the state, whatever stood under its
// name (a symbolic link is replaced, not followed). False when it could not be written.
[[nodiscard]] bool save_sync_state(const StoreDir& dir, const SyncState& state);

}  // namespace daybrook
