#include "store/small_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "store/file_writes.h"

namespace daybrook {
namespace {

// The error for a file that is not a regular one; zero for a regular file.
int kind_error(const struct stat& status) {
    if (S_ISREG(status.st_mode)) return 0;
    return S_ISDIR(status.st_mode) ? EISDIR : ENODEV;
}

// Reads to the end, but never more than `largest` + 1 bytes: a file that grows while it is read
// is as much too large as one that was so at the start.
int read_to_end(int fd, std::size_t largest, std::string& bytes) {
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return 0;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > largest) return EFBIG;
    }
}

}  // namespace

SmallFileRead read_small_file(const std::filesystem::path& path, std::size_t largest) {
    SmallFileRead result;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer for ever.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid()) {
        result.error = errno;
    } else if (::fstat(fd.get(), &result.status) != 0) {
        result.error = errno;
    } else if (const int kind = kind_error(result.status); kind != 0) {
        result.error = kind;
    } else if (static_cast<std::uintmax_t>(result.status.st_size) > largest) {
        result.error = EFBIG;
    } else {
        result.bytes.reserve(static_cast<std::size_t>(result.status.st_size));
        result.error = read_to_end(fd.get(), largest, result.bytes);
    }
    if (result.error != 0) result.bytes.clear();
    return result;
}

std::string read_problem(int error) {
    switch (error) {
        case EISDIR: return "it is a directory";
        case ENODEV: return "it is not a regular file";
        case EFBIG: return "it is too large";
        default: return std::strerror(error);
    }
}

}  // namespace daybrook
