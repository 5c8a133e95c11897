#include "sync/vdir_storage.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>

#include "store/file_writes.h"
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
    char etag[96];
    std::snprintf(etag, sizeof etag, "%" PRIuMAX "-%" PRIdMAX "-%" PRIdMAX ".%09ld", std::uintmax_t(status.st_ino),
                  std::intmax_t(status.st_size), std::intmax_t(status.st_mtim.tv_sec), status.st_mtim.tv_nsec);
    return etag;
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

std::optional<std::vector<VdirItem>> list_vdir(const VdirPath& vdir) {
    const std::unique_ptr<DIR, DirClose> dir(::opendir(vdir.c_str()));
    if (!dir) return std::nullopt;
    std::vector<VdirItem> items;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (!is_vdir_item_name(name)) continue;
        Etag etag = etag_of(vdir / name);
        if (!etag.empty()) items.push_back({std::string(name), std::move(etag)});
    }
    if (errno != 0) return std::nullopt;
    std::sort(items.begin(), items.end(), [](const VdirItem& a, const VdirItem& b) { return a.name < b.name; });
    return items;
}

std::optional<VdirRead> read_vdir_item(const VdirPath& vdir, std::string_view name) {
    if (!is_vdir_item_name(name)) return std::nullopt;
    const SmallFileRead read = read_small_file(vdir / name, largest_vdir_item);
    if (!read.bytes) return std::nullopt;
    return VdirRead{*read.bytes, etag_of_status(read.status)};
}

bool write_vdir_item(const VdirPath& vdir, std::string_view name, std::string_view text) {
    if (!is_vdir_item_name(name)) return false;
    const auto bytes = std::as_bytes(std::span(text.data(), text.size()));
    return replace_file((vdir / name).string(),
                        std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

bool remove_vdir_item(const VdirPath& vdir, std::string_view name) {
    if (!is_vdir_item_name(name)) return false;
    return ::unlink((vdir / name).c_str()) == 0 || errno == ENOENT;
}

std::string vdir_name_for_uid(std::string_view uid) {
    if (!uid.empty() && uid.size() <= 200 && std::all_of(uid.begin(), uid.end(), safe_uid_char) && uid.front() != '.')
        return std::string(uid) + std::string(item_extension);
    char name[40];
    std::snprintf(name, sizeof name, "%016" PRIx64 "%s", content_hash(uid), item_extension.data());
    return name;
}

std::uint64_t content_hash(std::string_view bytes) noexcept {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3u;
    }
    return hash;
}

}  // namespace daybrook
