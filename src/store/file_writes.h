// Writing whole files so that readers never see half of one: shared by the entry store and the
// settings file. Every file is first written to a hidden temporary file beside its target and
// flushed to disk; only complete files ever appear under a name that readers look at.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace daybrook {

// Owns a file descriptor. The destructor closes it quietly; a writer calls close() itself,
// because a failed close can mean that written data was lost.
class UniqueFd {
public:
    explicit UniqueFd(int fd) noexcept : m_fd(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd& operator=(UniqueFd&& other) noexcept;

    int get() const noexcept { return m_fd; }
    bool valid() const noexcept { return m_fd >= 0; }
    // False when the close reported an error, such as written data that could not be stored.
    [[nodiscard]] bool close() noexcept;

private:
    int m_fd;
};

// Writes every byte, going on after a short write; false, with errno set, when a write failed.
[[nodiscard]] bool write_all(int fd, std::span<const unsigned char> bytes);

// Writes every byte and closes the file; false when either failed.
[[nodiscard]] bool write_and_close(UniqueFd& fd, std::span<const unsigned char> bytes);

// Files the diary makes are private to the user; a rewrite keeps whatever the file had.
inline constexpr mode_t private_file_mode = 0600;

// Replaces the file at `path` (or makes it) through a fresh temporary file, flushed to disk and
// then renamed over it: a crash leaves the old contents or the new ones. An existing file's
// permissions are kept, so a rewrite never widens access.
[[nodiscard]] bool replace_file(const std::string& path, std::span<const unsigned char> bytes);

// Replaces the file at `path` the same way, but the new file is private whatever stood under the
// name before: for the diary's own records, whose mode nobody else has a reason to choose. A
// symbolic link of that name is replaced itself, never written through.
[[nodiscard]] bool replace_private_file(const std::string& path, std::span<const unsigned char> bytes);

enum class PlaceOutcome { placed, taken, failed };

// Puts a new file at `path` only if no file of that name exists (taken otherwise), complete and
// flushed to disk before its name appears.
[[nodiscard]] PlaceOutcome place_new_file(const std::string& path, std::span<const unsigned char> bytes);

// New files of one folder written as a batch, for many files at once: each file's bytes go to a
// hidden temporary file of its own, unflushed; one flush of the folder's file system then puts them
// all on disk, and only after it does each take its name; one flush of the folder then keeps the
// names. A flush for every file would wait for the disk once per file. Temporary files that never
// took their names are removed when the batch goes; those of a batch killed half way are the
// leftovers that parse_temporary_name and writer_gone tell.
class FileBatch {
public:
    explicit FileBatch(std::string folder) : m_folder(std::move(folder)) {}
    ~FileBatch();
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // Writes the bytes of the file that is to become `name` (a bare name of the folder), with the
    // permissions replace_file gives. Its index in the batch, or nothing when it could not be
    // written whole (errno tells why).
    [[nodiscard]] std::optional<std::size_t> stage(std::string_view name, std::span<const unsigned char> bytes);

    // The status of a staged file, taken once its bytes were written: its inode, size and time of
    // change stay the same when it takes its name.
    const struct stat& status(std::size_t index) const { return m_files[index].status; }

    // Puts every file staged so far on disk with one flush of the file system (syncfs). False when
    // it reported an error (errno tells which); then no file of the batch may take its name.
    [[nodiscard]] bool flush();

    // Gives a flushed file its name, only if no file has it (see place_new_file); failed for a file
    // not flushed.
    [[nodiscard]] PlaceOutcome place_new(std::size_t index);
    // Gives a flushed file its name, replacing what had it (see replace_file); false for a file not
    // flushed, or when the rename failed.
    [[nodiscard]] bool place_replacing(std::size_t index);

    // Flushes the folder's list of names, so that the files placed keep them after a crash.
    [[nodiscard]] bool flush_names() const;

private:
    struct Staged {
        std::string path;
        std::string temp;  // empty once it took its name or went
        struct stat status {};
        bool flushed = false;
    };
    std::string path_of(std::string_view name) const;

    std::string m_folder;
    std::vector<Staged> m_files;
};

// Flushes a folder's list of names to disk, so that files placed or renamed in it stay so after
// a crash. False when the folder could not be opened or flushed.
[[nodiscard]] bool sync_folder(const std::string& folder);

// What the name of a temporary file left by replace_file or place_new_file tells: the file it
// was to become and the process that wrote it. Nothing for any other name.
struct TemporaryName {
    std::string target;
    pid_t writer = 0;
};
std::optional<TemporaryName> parse_temporary_name(std::string_view name);

// Whether the process that wrote a temporary file is gone, so that the file is what a write
// killed half way left. A process that runs as another user counts as alive.
bool writer_gone(const TemporaryName& name);

}  // namespace daybrook
