#include "store/record_io.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <span>
#include <system_error>
#include <utility>

namespace daybrook::store_io {
namespace {

// Owns a file descriptor. The destructor closes it quietly; a writer calls close() itself,
// because a failed close can mean that written data was lost.
class UniqueFd {
public:
    explicit UniqueFd(int fd) noexcept : m_fd(fd) {}
    ~UniqueFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const noexcept { return m_fd; }
    bool valid() const noexcept { return m_fd >= 0; }
    bool close() noexcept { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

std::filesystem::path path_of(const StoreDir& dir, std::string_view name) {
    return dir / std::string(name);
}

bool write_all(int fd, std::span<const unsigned char> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

bool write_and_close(UniqueFd& fd, const RecordBytes& bytes) {
    const bool written = write_all(fd.get(), bytes);
    const bool closed = fd.close();
    return written && closed;
}

// Gives the new file the permissions of the one it replaces, so a rewrite never widens access.
void keep_permissions(int fd, const std::filesystem::path& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        ::fchmod(fd, info.st_mode & 07777);
}

// A fresh hidden file beside the target holding the bytes, or nothing. The leading '.' keeps it
// out of every listing pattern of the store.
std::optional<std::filesystem::path> write_temporary(const StoreDir& dir, std::string_view name,
                                                     const RecordBytes& bytes) {
    const std::string stem = "." + std::string(name) + ".new-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto temp = path_of(dir, stem + std::to_string(attempt));
        UniqueFd fd(::open(temp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644));
        if (!fd.valid()) {
            if (errno == EEXIST) continue;
            return std::nullopt;
        }
        keep_permissions(fd.get(), path_of(dir, name));
        if (write_and_close(fd, bytes)) return temp;
        ::unlink(temp.c_str());
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

bool is_bare_name(std::string_view name) noexcept {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool matches(std::string_view pattern, std::string_view name) noexcept {
    if (name.find('\0') != std::string_view::npos) return false;
    const std::string pattern_text(pattern);
    const std::string name_text(name);
    return ::fnmatch(pattern_text.c_str(), name_text.c_str(), FNM_PATHNAME | FNM_PERIOD) == 0;
}

std::vector<std::string> list_matching(const StoreDir& dir, std::string_view pattern) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator item(dir, error);
    for (; !error && item != std::filesystem::directory_iterator(); item.increment(error)) {
        std::string name = item->path().filename().string();
        std::error_code type_error;
        if (matches(pattern, name) && item->is_regular_file(type_error))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<EntryRecord> read_record(const StoreDir& dir, std::string_view name) {
    // O_NONBLOCK keeps a FIFO of that name from hanging the diary; regular files ignore it.
    UniqueFd fd(::open(path_of(dir, name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    RecordBytes bytes{};
    std::size_t count = 0;
    while (count < bytes.size()) {
        const ssize_t got = ::read(fd.get(), bytes.data() + count, bytes.size() - count);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        count += static_cast<std::size_t>(got);
    }
    return decode(std::span(bytes.data(), count));
}

StoreError replace_record(const StoreDir& dir, std::string_view name, const RecordBytes& bytes) {
    const auto temp = write_temporary(dir, name, bytes);
    if (!temp) return StoreError::io_error;
    if (::rename(temp->c_str(), path_of(dir, name).c_str()) != 0) {
        ::unlink(temp->c_str());
        return StoreError::io_error;
    }
    return StoreError::none;
}

CreateOutcome create_record(const StoreDir& dir, std::string_view name, const RecordBytes& bytes) {
    const auto target = path_of(dir, name);
    UniqueFd fd(::open(target.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644));
    if (!fd.valid()) return errno == EEXIST ? CreateOutcome::taken : CreateOutcome::failed;
    if (write_and_close(fd, bytes)) return CreateOutcome::created;
    ::unlink(target.c_str());
    return CreateOutcome::failed;
}

}  // namespace daybrook::store_io
