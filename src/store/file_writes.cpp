#include "store/file_writes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>

namespace daybrook {
namespace {

constexpr std::string_view temporary_marker = ".new-";

enum class NewMode { kept, private_file };

// Gives the temporary file its mode: the target's, so that a rewrite neither widens nor narrows
// access, or private whatever the target's was. A private mode is set by fchmod, since the umask
// may have narrowed open's.
bool set_permissions(int fd, const std::string& target, NewMode mode) {
    if (mode == NewMode::private_file) return ::fchmod(fd, private_file_mode) == 0;
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return true;
    // A file system without modes of its own (FAT, say) refuses to copy one; the file then stays
    // private, narrower than before but never wider, and the write goes on, as it must for the
    // diary to work there at all.
    [[maybe_unused]] const bool copied = ::fchmod(fd, info.st_mode & 07777) == 0;
    return true;
}

// "dir/.name.new-<pid>-": the leading '.' keeps the temporary file out of every listing of the
// store, and the pid tells a later run whether its writer is still alive.
std::string temporary_stem(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) about "." + std::string.
    std::string stem = path.substr(0, name_start);
    stem.append(".").append(path, name_start).append(temporary_marker);
    stem.append(std::to_string(::getpid())).append("-");
    return stem;
}

// A file flushed on its own, or one of a batch that a single flush puts on disk later.
enum class Flush { now, with_batch };

// Writes the bytes, flushing them when asked, and takes the file's status; false when any of it
// failed (errno tells why).
bool fill(int fd, std::span<const unsigned char> bytes, Flush flush, struct stat& status) {
    return write_all(fd, bytes) && (flush == Flush::with_batch || ::fsync(fd) == 0) && ::fstat(fd, &status) == 0;
}

// A fresh temporary file beside the target holding the bytes, or nothing. Unlinking a file that
// failed must not overwrite the errno that tells why.
std::optional<std::string> write_temporary(const std::string& path, std::span<const unsigned char> bytes,
                                           NewMode mode, Flush flush, struct stat& status) {
    const std::string stem = temporary_stem(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = stem + std::to_string(attempt);
        UniqueFd fd(::open(temp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, private_file_mode));
        if (!fd.valid()) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        if (set_permissions(fd.get(), path, mode) && fill(fd.get(), bytes, flush, status) && fd.close()) return temp;
        const int why = errno;
        ::unlink(temp.c_str());
        errno = why;
        return std::nullopt;
    }
    return std::nullopt;
}

// A fresh temporary file beside the target holding the bytes, flushed to disk, or nothing.
std::optional<std::string> write_flushed(const std::string& path, std::span<const unsigned char> bytes,
                                         NewMode mode) {
    struct stat status {};
    return write_temporary(path, bytes, mode, Flush::now, status);
}

// Gives the temporary file the target's name unless that name exists. A file system without
// renameat2's no-replace flag gets a hard link instead, which refuses an existing name too.
PlaceOutcome move_without_replacing(const std::string& temp, const std::string& path) {
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return PlaceOutcome::placed;
    if (errno == EEXIST) return PlaceOutcome::taken;
    if (errno != EINVAL && errno != ENOSYS) return PlaceOutcome::failed;
    if (::link(temp.c_str(), path.c_str()) == 0) return PlaceOutcome::placed;
    return errno == EEXIST ? PlaceOutcome::taken : PlaceOutcome::failed;
}

// rename replaces the name itself: a symbolic link of that name goes, and its target stays.
bool replace_with(const std::string& path, std::span<const unsigned char> bytes, NewMode mode) {
    const std::optional<std::string> temp = write_flushed(path, bytes, mode);
    if (!temp) return false;
    if (::rename(temp->c_str(), path.c_str()) == 0) return true;
    ::unlink(temp->c_str());
    return false;
}

bool all_digits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

bool write_all(int fd, std::span<const unsigned char> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

UniqueFd::~UniqueFd() {
    if (m_fd >= 0) ::close(m_fd);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

bool UniqueFd::close() noexcept { return ::close(std::exchange(m_fd, -1)) == 0; }

bool write_and_close(UniqueFd& fd, std::span<const unsigned char> bytes) {
    const bool written = write_all(fd.get(), bytes);
    const bool closed = fd.close();
    return written && closed;
}

bool replace_file(const std::string& path, std::span<const unsigned char> bytes) {
    return replace_with(path, bytes, NewMode::kept);
}

bool replace_private_file(const std::string& path, std::span<const unsigned char> bytes) {
    return replace_with(path, bytes, NewMode::private_file);
}

PlaceOutcome place_new_file(const std::string& path, std::span<const unsigned char> bytes) {
    const std::optional<std::string> temp = write_flushed(path, bytes, NewMode::kept);
    if (!temp) return PlaceOutcome::failed;
    const PlaceOutcome outcome = move_without_replacing(*temp, path);
    // After a rename this name is gone already; after a link or a failure it must go.
    ::unlink(temp->c_str());
    return outcome;
}

FileBatch::~FileBatch() {
    for (const Staged& file : m_files)
        if (!file.temp.empty()) ::unlink(file.temp.c_str());
}

std::string FileBatch::path_of(std::string_view name) const {
    std::string path = m_folder;
    if (!path.empty() && !path.ends_with('/')) path += '/';
    return path.append(name);
}

std::optional<std::size_t> FileBatch::stage(std::string_view name, std::span<const unsigned char> bytes) {
    Staged file{.path = path_of(name)};
    std::optional<std::string> temp = write_temporary(file.path, bytes, NewMode::kept, Flush::with_batch, file.status);
    if (!temp) return std::nullopt;
    file.temp = std::move(*temp);
    m_files.push_back(std::move(file));
    return m_files.size() - 1;
}

bool FileBatch::flush() {
    const UniqueFd fd(::open(m_folder.empty() ? "." : m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid() || ::syncfs(fd.get()) != 0) return false;
    for (Staged& file : m_files) file.flushed = true;
    return true;
}

PlaceOutcome FileBatch::place_new(std::size_t index) {
    Staged& file = m_files[index];
    if (!file.flushed || file.temp.empty()) return PlaceOutcome::failed;
    const PlaceOutcome outcome = move_without_replacing(file.temp, file.path);
    // After a rename this name is gone already; after a link or a failure it must go.
    const int why = errno;
    ::unlink(file.temp.c_str());
    errno = why;
    file.temp.clear();
    return outcome;
}

bool FileBatch::place_replacing(std::size_t index) {
    Staged& file = m_files[index];
    if (!file.flushed || file.temp.empty() || ::rename(file.temp.c_str(), file.path.c_str()) != 0) return false;
    file.temp.clear();
    return true;
}

bool FileBatch::flush_names() const { return sync_folder(m_folder); }

bool sync_folder(const std::string& folder) {
    UniqueFd fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.valid() && ::fsync(fd.get()) == 0 && fd.close();
}

std::optional<TemporaryName> parse_temporary_name(std::string_view name) {
    const std::size_t marker = name.rfind(temporary_marker);
    if (!name.starts_with('.') || marker == std::string_view::npos || marker < 2) return std::nullopt;
    const std::string_view numbers = name.substr(marker + temporary_marker.size());
    const std::size_t dash = numbers.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const std::string_view pid_text = numbers.substr(0, dash);
    if (!all_digits(pid_text) || !all_digits(numbers.substr(dash + 1))) return std::nullopt;
    TemporaryName parsed{.target = std::string(name.substr(1, marker - 1))};
    const auto [end, error] = std::from_chars(pid_text.data(), pid_text.data() + pid_text.size(), parsed.writer);
    if (error != std::errc{} || parsed.writer <= 0) return std::nullopt;
    return parsed;
}

bool writer_gone(const TemporaryName& name) { return ::kill(name.writer, 0) != 0 && errno == ESRCH; }

}  // namespace daybrook
