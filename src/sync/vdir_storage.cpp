#include "sync/vdir_storage.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <span>
#include <utility>

#include "calendar/fingerprint.h"
#include "store/file_writes.h"
#include "store/name_order.h"
#include "store/small_file.h"

namespace daybrook {
namespace {

constexpr std::string_view item_extension = ".ics";

struct DirClose {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool safe_uid_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == '@';
}

Etag etag_of_status(const struct stat& status) {
    return {std::uint64_t(status.st_ino), std::int64_t(status.st_size), std::int64_t(status.st_mtim.tv_sec),
            std::int64_t(status.st_mtim.tv_nsec)};
}

// Adds an item of the folder to the listing, or a note of why it was left out. False when it
// cannot be told whether the item is there: an item that merely looks gone would read as an
// event removed.
bool list_item(int folder, const char* name, VdirListing& listing) {
    struct stat status {};
    if (::fstatat(folder, name, &status, 0) == 0) {
        if (S_ISREG(status.st_mode)) listing.items.push_back({name, etag_of_status(status)});
        else listing.notes.push_back(std::string(name) + " was left out: it is not a regular file");
        return true;
    }
    if (errno != ENOENT && errno != ELOOP && errno != ENOTDIR) return false;
    // Still there without its file behind it: a symbolic link that leads nowhere. Otherwise it
    // was deleted after readdir saw it (by vdirsyncer, say), and is not there.
    if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) == 0)
        listing.notes.push_back(std::string(name) + " was left out: it is a symbolic link that leads nowhere");
    return true;
}

// Deletes a temporary file that a write of an item left when it was killed half way. Only such
// names, only regular files and only when their writer is gone: a temporary file of a write
// still running, and every file of another program, stays.
void remove_if_leftover(int folder, std::string_view name) {
    const std::optional<TemporaryName> temporary = parse_temporary_name(name);
    if (!temporary || !is_vdir_item_name(temporary->target) || !writer_gone(*temporary)) return;
    const std::string bare(name);
    struct stat status {};
    if (::fstatat(folder, bare.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode))
        ::unlinkat(folder, bare.c_str(), 0);
}

}  // namespace

bool is_vdir_item_name(std::string_view name) noexcept {
    return name.size() > item_extension.size() && name.ends_with(item_extension) && name.front() != '.' &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

Etag etag_of(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
    return etag_of_status(status);
}

std::vector<Etag> etags_in(const std::filesystem::path& folder, const std::vector<std::string>& names) {
    std::vector<Etag> etags(names.size());
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return etags;
    struct stat status {};
    for (std::size_t at = 0; at < names.size(); ++at)
        if (::fstatat(fd.get(), names[at].c_str(), &status, 0) == 0 && S_ISREG(status.st_mode))
            etags[at] = etag_of_status(status);
    return etags;
}

std::optional<VdirListing> list_vdir(const VdirPath& vdir) {
    const std::unique_ptr<DIR, DirClose> dir(::opendir(vdir.c_str()));
    if (!dir) return std::nullopt;
    VdirListing listing;
    for (;;) {
        // Cleared before every call: only readdir's own failure may be told from its end.
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) break;
        const std::string_view name = entry->d_name;
        if (is_vdir_item_name(name)) {
            if (!list_item(::dirfd(dir.get()), entry->d_name, listing)) return std::nullopt;
        } else {
            remove_if_leftover(::dirfd(dir.get()), name);
        }
    }
    if (errno != 0) return std::nullopt;
    sort_by_name(listing.items, [](const VdirItem& item) -> std::string_view { return item.name; });
    return listing;
}

std::optional<VdirRead> read_vdir_item(const VdirPath& vdir, std::string_view name) {
    if (!is_vdir_item_name(name)) return std::nullopt;
    SmallFileRead file = read_small_file(vdir / name, largest_vdir_item);
    if (!file.read()) return std::nullopt;
    return VdirRead{std::move(file.bytes), etag_of_status(file.status)};
}

std::optional<Etag> VdirBatch::add(std::string_view name, std::string_view text) {
    if (!is_vdir_item_name(name)) return std::nullopt;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::optional<std::size_t> staged = m_files.stage(name, std::span(bytes, text.size()));
    if (!staged) return std::nullopt;
    m_names.emplace_back(name);
    return etag_of_status(m_files.status(*staged));
}

std::vector<std::string> VdirBatch::place() {
    if (m_names.empty()) return {};
    if (!m_files.flush()) return std::exchange(m_names, {});
    std::vector<std::string> failed;
    for (std::size_t index = 0; index < m_names.size(); ++index)
        if (!m_files.place_replacing(index)) failed.push_back(m_names[index]);
    // Placed items whose names a crash could take are as good as not placed: the next sync looks
    // for them again.
    if (failed.size() < m_names.size() && !m_files.flush_names()) failed = m_names;
    m_names.clear();
    return failed;
}

bool remove_vdir_item(const VdirPath& vdir, std::string_view name) {
    if (!is_vdir_item_name(name)) return false;
    return ::unlink((vdir / name).c_str()) == 0 || errno == ENOENT;
}

std::string vdir_name_for_uid(std::string_view uid) {
    if (!uid.empty() && uid.size() <= 200 && std::all_of(uid.begin(), uid.end(), safe_uid_char) && uid.front() != '.')
        return std::string(uid) + std::string(item_extension);
    return hex_text(content_hash(uid)) + std::string(item_extension);
}

std::uint64_t content_hash(std::string_view bytes) noexcept { return fnv1a(bytes); }

}  // namespace daybrook
