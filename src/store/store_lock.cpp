#include "store/store_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace daybrook {
namespace {

// Hidden, so that no listing of the store sees it. It is never removed: removing a lock file
// while another process waits on it would let a third lock a new file of the same name.
constexpr const char* lock_file_name = ".daybrook.lock";
constexpr std::chrono::milliseconds retry_period{20};

// The lock file, opened without following a symbolic link: errno is ELOOP when the name is one.
UniqueFd open_lock_file(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, private_file_mode));
    // A folder the diary cannot write to still lets it lock a lock file made earlier.
    if (!fd.valid()) return UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    return fd;
}

// Removes a symbolic link that stands in the lock file's place, so that a fresh lock file can be
// made; the link is never followed, as it could lead to any file of the user's. The folder itself
// is locked meanwhile, so that two closes that both found the link cannot remove each other's
// fresh lock file.
bool remove_link(const StoreDir& dir, const std::string& path) {
    const UniqueFd folder(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid() || ::flock(folder.get(), LOCK_EX) != 0) return false;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;  // replaced by another close
    return ::unlink(path.c_str()) == 0;
}

// Far more than any note the diary keeps.
constexpr std::size_t longest_note = 256;

}  // namespace

std::string StoreLock::note() const {
    std::string text(longest_note, '\0');
    const ssize_t got = ::pread(m_fd.get(), text.data(), text.size(), 0);
    text.resize(got > 0 ? std::size_t(got) : 0);
    return text;
}

// A note that cannot be written whole is no note: the next close then looks at the whole folder.
void StoreLock::keep_note(std::string_view text) const {
    const bool written = ::pwrite(m_fd.get(), text.data(), text.size(), 0) == ssize_t(text.size()) &&
                         ::ftruncate(m_fd.get(), off_t(text.size())) == 0;
    if (!written && ::ftruncate(m_fd.get(), 0) != 0) ::pwrite(m_fd.get(), "", 1, 0);
}

std::optional<StoreLock> StoreLock::acquire(const StoreDir& dir, std::chrono::milliseconds patience) {
    const std::string path = (dir / lock_file_name).native();
    UniqueFd fd = open_lock_file(path);
    const bool link_found = !fd.valid() && errno == ELOOP;
    if (link_found && remove_link(dir, path)) fd = open_lock_file(path);
    if (!fd.valid()) return std::nullopt;
    const auto give_up = std::chrono::steady_clock::now() + patience;
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return std::nullopt;
        if (std::chrono::steady_clock::now() >= give_up) return std::nullopt;
        std::this_thread::sleep_for(retry_period);
    }
    return StoreLock(std::move(fd), link_found);
}

}  // namespace daybrook
