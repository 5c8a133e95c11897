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
    if (fd.valid()) return fd;
    const int make_error = errno;
    // A folder the diary cannot write to still lets it lock a lock file made earlier.
    UniqueFd made_earlier(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!made_earlier.valid() && errno == ENOENT) errno = make_error;  // why there is none
    return made_earlier;
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

// A note that cannot be written whole is no note: cleared, or failing that spoilt by a zero byte
// in front, it makes the next close look at the whole folder.
bool StoreLock::keep_note(std::string_view text) const {
    if (::pwrite(m_fd.get(), text.data(), text.size(), 0) == ssize_t(text.size()) &&
        ::ftruncate(m_fd.get(), off_t(text.size())) == 0)
        return true;
    return ::ftruncate(m_fd.get(), 0) == 0 || ::pwrite(m_fd.get(), "", 1, 0) == 1;
}

LockAttempt StoreLock::acquire(const StoreDir& dir, std::chrono::milliseconds patience) {
    const std::string path = (dir / lock_file_name).native();
    UniqueFd fd = open_lock_file(path);
    const bool link_found = !fd.valid() && errno == ELOOP;
    if (link_found && remove_link(dir, path)) fd = open_lock_file(path);
    if (!fd.valid()) return {.error = errno};
    const auto give_up = std::chrono::steady_clock::now() + patience;
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return {.error = errno};
        if (std::chrono::steady_clock::now() >= give_up) return {.error = EWOULDBLOCK};
        std::this_thread::sleep_for(retry_period);
    }
    return {.lock = StoreLock(std::move(fd), link_found)};
}

}  // namespace daybrook
