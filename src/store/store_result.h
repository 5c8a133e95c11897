// What a store operation that writes or deletes reports back.
#pragma once

namespace daybrook {

enum class [[nodiscard]] StoreError {
    none,
    day_full,   // the day already holds entries in all ten slots
    io_error,   // the file system refused to create, write or rename a file
    bad_name,   // a name that is not an entry file of the store
};

}  // namespace daybrook
