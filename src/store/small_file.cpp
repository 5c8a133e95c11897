#include "store/small_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "store/file_writes.h"

namespace daybrook {

SmallFileRead read_small_file(const std::filesystem::path& path, std::size_t largest) {
    SmallFileRead read;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        read.error = errno;
        return read;
    }
    std::string bytes;
    if (::fstat(fd, &read.status) != 0) read.error = errno;
    else if (!S_ISREG(read.status.st_mode)) read.error = EINVAL;
    else if (static_cast<std::size_t>(read.status.st_size) > largest) read.error = EFBIG;
    char buffer[65536];
    while (read.error == 0) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) read.error = errno;
        else if (got == 0) break;
        else bytes.append(buffer, std::size_t(got));
        if (bytes.size() > largest) read.error = EFBIG;
    }
    ::close(fd);
    if (read.error == 0) read.bytes = std::move(bytes);
    return read;
}

}  // namespace daybrook
