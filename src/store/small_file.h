// Reading a small file that the diary owns or shares with other programs (an event of a vdir,
// the state of the last sync, the record of the last import, an entry file) without ever
// blocking or throwing, whatever another program or a careless hand left under its name: a
// FIFO, a directory or a device is refused, never waited on, and so is a file too large to be
// one of these.
#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <string>

namespace daybrook {

struct SmallFileRead {
    std::string bytes;  // the whole file; empty unless read
    // The status of the very file opened, taken before its bytes were read: a change made while
    // it was read shows as a change the next time.
    struct stat status {};
    // An errno value: 0 when read whole, ENOENT when there is no such file (a symbolic link to
    // none included), EISDIR for a directory, ENODEV for anything else that is no regular file,
    // EFBIG for a file larger than allowed, or what the system said.
    int error = 0;

    bool read() const noexcept { return error == 0; }
    bool missing() const noexcept { return error == ENOENT; }
};

// The file at `path`, following symbolic links, if it is a regular file of at most `largest`
// bytes.
[[nodiscard]] SmallFileRead read_small_file(const std::filesystem::path& path, std::size_t largest);

// Why a read failed, in words for a message ("it is a directory").
std::string read_problem(int error);

}  // namespace daybrook
