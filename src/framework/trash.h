// The desktop's trash (the freedesktop trash, ~/.local/share/Trash): entries the user deletes go
// there, so that one deleted by mistake can be restored from the file manager.
#pragma once

#include <string>

namespace daybrook {

// Moves the file to the trash; where no trash can take it, deletes it as before. True when the
// file has left its folder either way.
bool move_to_trash(const std::string& path);

}  // namespace daybrook
