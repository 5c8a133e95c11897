#include "store/record_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <memory>
#include <span>
#include <utility>

#include "store/file_writes.h"
#include "store/name_order.h"

namespace daybrook::store_io {
namespace {

struct DirCloser {
    void operator()(DIR* stream) const noexcept { ::closedir(stream); }
};

// The text of dir / name, joined by hand into one allocation: the view reads up to 80 files at
// every painting, and building a std::filesystem::path (which splits it into components) cost
// more than a fifth of the bare open, read and close. The joining rules are those of operator/
// on POSIX.
std::string path_of(const StoreDir& dir, std::string_view name) {
    if (name.starts_with('/')) return std::string(name);
    const std::string& base = dir.native();
    std::string text;
    text.reserve(base.size() + 1 + name.size());
    text += base;
    if (!base.empty() && !base.ends_with('/')) text += '/';
    text += name;
    return text;
}

// Where a symbolic link of the folder leads, when that is a file inside the folder; nothing for
// a link that leads out of it (to someone else's file, say), which the store never follows.
std::optional<std::string> link_inside(const StoreDir& dir, std::string_view name) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::canonical(dir, error);
    if (error) return std::nullopt;
    const std::filesystem::path target = std::filesystem::canonical(path_of(dir, name), error);
    if (error || target.parent_path() != folder) return std::nullopt;
    return target.native();
}

// A directory entry that is a regular file, also through a symbolic link that stays inside the
// folder. The type that readdir reports saves a stat for all but links and file systems that do
// not report types.
bool is_regular_file(const StoreDir& dir, const dirent& item) {
    if (item.d_type != DT_LNK && item.d_type != DT_UNKNOWN) return item.d_type == DT_REG;
    return holds_file(dir, item.d_name);
}

// Opens a store file for reading. A symbolic link is followed only when it stays inside the
// folder; the common case, a plain file, costs one call.
UniqueFd open_for_reading(const StoreDir& dir, std::string_view name) {
    constexpr int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
    UniqueFd fd(::open(path_of(dir, name).c_str(), flags | O_NOFOLLOW));
    if (fd.valid() || errno != ELOOP) return fd;
    const std::optional<std::string> target = link_inside(dir, name);
    return UniqueFd(target ? ::open(target->c_str(), flags | O_NOFOLLOW) : -1);
}

}  // namespace

bool holds_file(const StoreDir& dir, std::string_view name) {
    struct stat info {};
    if (::lstat(path_of(dir, name).c_str(), &info) != 0) return false;
    if (S_ISLNK(info.st_mode)) {
        const std::optional<std::string> target = link_inside(dir, name);
        return target && ::stat(target->c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }
    return S_ISREG(info.st_mode);
}

bool is_bare_name(std::string_view name) noexcept {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool for_each_file(const StoreDir& dir, const std::function<void(std::string_view name)>& visit) {
    // readdir rather than a directory_iterator: the search page lists the whole store at every
    // composing, and building a path for every name of the directory doubled the listing's time.
    const std::unique_ptr<DIR, DirCloser> stream(::opendir(dir.c_str()));
    if (!stream) return false;
    for (;;) {
        errno = 0;  // readdir tells its end from its failure only by errno
        const dirent* item = ::readdir(stream.get());
        if (item == nullptr) return errno == 0;
        if (is_regular_file(dir, *item)) visit(item->d_name);
    }
}

std::optional<std::vector<std::string>> list_matching(const StoreDir& dir, NameTest test) {
    std::vector<std::string> names;
    const bool whole = for_each_file(dir, [&](std::string_view name) {
        if (test(name)) names.emplace_back(name);
    });
    if (!whole) return std::nullopt;
    sort_by_name(names, [](const std::string& name) -> std::string_view { return name; });
    return names;
}

std::optional<RecordBytes> read_record_bytes(const StoreDir& dir, std::string_view name) {
    // O_NONBLOCK keeps a FIFO of that name from hanging the diary while it is opened; only a
    // regular file is an entry, so a FIFO, a device or a directory named like one is none.
    UniqueFd fd = open_for_reading(dir, name);
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
    return bytes;
}

std::optional<EntryRecord> read_record(const StoreDir& dir, std::string_view name) {
    const std::optional<RecordBytes> bytes = read_record_bytes(dir, name);
    if (!bytes) return std::nullopt;
    return decode(*bytes);
}

StoreError overwrite_record(const StoreDir& dir, std::string_view name, const RecordBytes& bytes) {
    UniqueFd fd(::open(path_of(dir, name).c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                       private_file_mode));
    if (!fd.valid()) return StoreError::io_error;
    return write_and_close(fd, bytes) ? StoreError::none : StoreError::io_error;
}

StoreError replace_record(const StoreDir& dir, std::string_view name, const RecordBytes& bytes) {
    return replace_file(path_of(dir, name), bytes) ? StoreError::none : StoreError::io_error;
}

CreateOutcome create_record(const StoreDir& dir, std::string_view name, const RecordBytes& bytes) {
    switch (place_new_file(path_of(dir, name), bytes)) {
        case PlaceOutcome::placed: return CreateOutcome::created;
        case PlaceOutcome::taken: return CreateOutcome::taken;
        case PlaceOutcome::failed: break;
    }
    return CreateOutcome::failed;
}

bool name_taken(const StoreDir& dir, std::string_view name) {
    struct stat info {};
    return ::lstat(path_of(dir, name).c_str(), &info) == 0;
}

bool sync_store(const StoreDir& dir) { return sync_folder(dir.native()); }

bool is_dead_temporary(std::string_view name, NameTest store_file) {
    const std::optional<TemporaryName> temporary = parse_temporary_name(name);
    return temporary && store_file(temporary->target) && writer_gone(*temporary);
}

bool remove_file(const StoreDir& dir, std::string_view name) {
    return is_bare_name(name) && ::unlink(path_of(dir, name).c_str()) == 0;
}

}  // namespace daybrook::store_io
