#include "store/record_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <span>
#include <utility>

#include "store/file_writes.h"

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

// A directory entry that is a regular file, also through a symbolic link. The type that
// readdir reports saves a stat for all but links and file systems that do not report types.
bool is_regular_file(const StoreDir& dir, const dirent& item) {
    if (item.d_type != DT_LNK && item.d_type != DT_UNKNOWN) return item.d_type == DT_REG;
    struct stat info {};
    return ::stat(path_of(dir, item.d_name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
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
    // readdir rather than a directory_iterator: the search page lists the whole store at every
    // painting, and building a path for every name of the directory doubled the listing's time.
    std::vector<std::string> names;
    const std::unique_ptr<DIR, DirCloser> stream(::opendir(dir.c_str()));
    if (!stream) return names;
    while (const dirent* item = ::readdir(stream.get())) {
        const std::string_view name = item->d_name;
        if (matches(pattern, name) && is_regular_file(dir, *item)) names.emplace_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<EntryRecord> read_record(const StoreDir& dir, std::string_view name) {
    // O_NONBLOCK keeps a FIFO of that name from hanging the diary; regular files ignore it. A
    // directory fails to read; anything else odd reads as at most one record's bytes. Not
    // asking what kind of file it is saves a system call on each of the week page's 80 reads.
    UniqueFd fd(::open(path_of(dir, name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) return std::nullopt;
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
    return replace_file(path_of(dir, name), bytes) ? StoreError::none : StoreError::io_error;
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
