// Writing whole files so that readers never see half of one: shared by the entry store and the
// settings file.
#pragma once

#include <span>
#include <string>
#include <utility>

namespace daybrook {

// Owns a file descriptor. The destructor closes it quietly; a writer calls close() itself,
// because a failed close can mean that written data was lost.
class UniqueFd {
public:
    explicit UniqueFd(int fd) noexcept : m_fd(fd) {}
    ~UniqueFd();
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const noexcept { return m_fd; }
    bool valid() const noexcept { return m_fd >= 0; }
    bool close() noexcept;

private:
    int m_fd;
};

// Writes every byte and closes the file; false when either failed.
bool write_and_close(UniqueFd& fd, std::span<const unsigned char> bytes);

// Replaces the file at `path` (or makes it) through a fresh hidden file beside it, flushed to
// disk and then renamed over it: a crash leaves the old contents or the new ones. An existing
// file's permissions are kept, so a rewrite never widens access.
bool replace_file(const std::string& path, std::span<const unsigned char> bytes);

}  // namespace daybrook
