#include "store/file_writes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace daybrook {
namespace {

bool write_all(int fd, std::span<const unsigned char> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

void keep_permissions(int fd, const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        ::fchmod(fd, info.st_mode & 07777);
}

// "dir/.name.new-<pid>-": the leading '.' keeps the temporary file out of every listing pattern
// of the store.
std::string temporary_stem(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) about "." + std::string.
    std::string stem = path.substr(0, name_start);
    stem.append(".").append(path, name_start).append(".new-").append(std::to_string(::getpid())).append("-");
    return stem;
}

// A fresh temporary file beside the target holding the bytes, flushed to disk, or nothing.
std::optional<std::string> write_temporary(const std::string& path, std::span<const unsigned char> bytes) {
    const std::string stem = temporary_stem(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = stem + std::to_string(attempt);
        UniqueFd fd(::open(temp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644));
        if (!fd.valid()) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        keep_permissions(fd.get(), path);
        if (write_all(fd.get(), bytes) && ::fsync(fd.get()) == 0 && fd.close()) return temp;
        ::unlink(temp.c_str());
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

UniqueFd::~UniqueFd() {
    if (m_fd >= 0) ::close(m_fd);
}

bool UniqueFd::close() noexcept { return ::close(std::exchange(m_fd, -1)) == 0; }

bool write_and_close(UniqueFd& fd, std::span<const unsigned char> bytes) {
    const bool written = write_all(fd.get(), bytes);
    const bool closed = fd.close();
    return written && closed;
}

bool replace_file(const std::string& path, std::span<const unsigned char> bytes) {
    const std::optional<std::string> temp = write_temporary(path, bytes);
    if (!temp) return false;
    if (::rename(temp->c_str(), path.c_str()) == 0) return true;
    ::unlink(temp->c_str());
    return false;
}

}  // namespace daybrook
