// The desktop's trash (the freedesktop trash, ~/.local/share/Trash): entries the user deletes go
// there, so that one deleted by mistake can be restored from the file manager.
#pragma once

#include <string>

namespace daybrook {

// What became of a file sent to the trash.
struct [[nodiscard]] TrashResult {
    std::string refusal;  // why the trash did not take the file, in words; empty when it did

    bool taken() const noexcept { return refusal.empty(); }
};

// Moves the file into the trash of its file system: the home trash, Trash in the user's data
// folder (see config/diary_folder.h), for a file on that folder's file system; otherwise the
// trash at the top of the file's own file system ($topdir/.Trash/$uid, or $topdir/.Trash-$uid).
// The file is taken only once it is in the trash's files/ with its record in info/. Otherwise it
// stays where it was, nothing is made outside a trash, and the caller asks before deleting it for
// good: when there is no absolute data folder, the trash or its folders are no folders or cannot
// be written, or the file system is full.
TrashResult move_to_trash(const std::string& path);

}  // namespace daybrook
