// The desktop's trash (the freedesktop trash, ~/.local/share/Trash): entries the user deletes go
// there, so that one deleted by mistake can be restored from the file manager.
#pragma once

#include <string>

namespace daybrook {

// Moves the file to the trash. False, with the file left where it is, when no trash can take it:
// the trash's folders cannot be written, the file lies on another file system without a trash of
// its own, or there is no absolute data folder to hold a trash ($XDG_DATA_HOME, or $HOME without
// it, empty or relative). The caller then asks before deleting the file for good.
[[nodiscard]] bool move_to_trash(const std::string& path);

}  // namespace daybrook
