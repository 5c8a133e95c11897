#include "framework/trash.h"

#include <QByteArray>
#include <QDateTime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <variant>

#include "config/diary_folder.h"
#include "store/file_writes.h"

// Qt's QFile::moveToTrash is not used: where the home trash cannot be made it makes files/ and
// info/ in the working folder and moves the file there, it follows a relative XDG_DATA_HOME, and
// it tries new names for ever when info/ refuses every new file.
namespace daybrook {
namespace {

namespace fs = std::filesystem;

// A trash that holds this many files of one name takes no more of it.
constexpr int most_names_alike = 1000;

std::string failure(const std::string& what, const fs::path& path) {
    return what + " " + path.string() + " (" + std::strerror(errno) + ")";
}

// Why the folder cannot serve the trash, after making it owner-only when missing; nothing when it
// is a folder (a link to one counts).
std::optional<std::string> folder_problem(const fs::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return failure("cannot make", folder);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return failure("cannot reach", folder);
    if (!S_ISDIR(info.st_mode)) return folder.string() + " is not a folder";
    return std::nullopt;
}

// The trash's folder, or why there is none.
using TrashFolder = std::variant<fs::path, std::string>;

// The top folder of the file system that holds `folder`: the last one upwards on `device`.
fs::path top_folder(fs::path folder, dev_t device) {
    while (folder.has_relative_path()) {
        struct stat info {};
        if (::stat(folder.parent_path().c_str(), &info) != 0 || info.st_dev != device) break;
        folder = folder.parent_path();
    }
    return folder;
}

// The trash at the top of another file system than the home trash's: $topdir/.Trash/$uid where
// the administrator made .Trash (a folder with the sticky bit, not a link), else the user's own
// $topdir/.Trash-$uid.
TrashFolder top_trash(const fs::path& file, dev_t device) {
    const fs::path top = top_folder(fs::absolute(file).parent_path(), device);
    const std::string uid = std::to_string(::getuid());
    struct stat shared {};
    if (::lstat((top / ".Trash").c_str(), &shared) == 0 && S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX) &&
        !folder_problem(top / ".Trash" / uid))
        return top / ".Trash" / uid;
    const fs::path own = top / (".Trash-" + uid);
    if (std::optional<std::string> problem = folder_problem(own)) return *problem;
    return own;
}

// The trash for a file on `device`: the home trash when the data folder is on the same file
// system, made with the folders above it when missing.
TrashFolder trash_for(const fs::path& file, dev_t device) {
    const std::optional<fs::path> data = user_data_folder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (!data) return std::string("neither XDG_DATA_HOME nor HOME names an absolute folder");
    std::error_code error;
    fs::create_directories(*data, error);
    struct stat info {};
    if (error || ::stat(data->c_str(), &info) != 0) return failure("cannot reach", *data);
    if (info.st_dev != device) return top_trash(file, device);
    if (std::optional<std::string> problem = folder_problem(*data / "Trash")) return *problem;
    return *data / "Trash";
}

// A name in the trash, claimed by making its record in info/ exclusively, as the trash's rules
// ask; or why none could be claimed.
struct ClaimedName {
    std::string name;
    UniqueFd record{-1};
    std::string refusal;
};

// Only a name already taken is followed by another: a trash that refuses new files is refused at
// the first try.
ClaimedName claim_name(const fs::path& trash, const std::string& base) {
    for (int count = 1; count <= most_names_alike; ++count) {
        std::string name = count == 1 ? base : base + "." + std::to_string(count);
        struct stat info {};
        if (::lstat((trash / "files" / name).c_str(), &info) == 0) continue;
        const fs::path record = trash / "info" / (name + ".trashinfo");
        UniqueFd fd(::open(record.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (fd.valid()) return {.name = std::move(name), .record = std::move(fd)};
        if (errno != EEXIST) return {.refusal = failure("cannot write in", trash / "info")};
    }
    return {.refusal = "the trash holds too many files named " + base};
}

// The record's text: the file's absolute path, percent-encoded, and the local time of deletion.
QByteArray record_text(const fs::path& file) {
    const QByteArray path = QByteArray(fs::absolute(file).c_str()).toPercentEncoding("/");
    const QByteArray when = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1();
    return "[Trash Info]\nPath=" + path + "\nDeletionDate=" + when + "\n";
}

}  // namespace

TrashResult move_to_trash(const std::string& path) {
    struct stat file {};
    if (::lstat(path.c_str(), &file) != 0) return {failure("cannot reach", path)};
    const TrashFolder trash = trash_for(path, file.st_dev);
    if (const auto* refusal = std::get_if<std::string>(&trash)) return {*refusal};
    const fs::path& folder = std::get<fs::path>(trash);
    for (const char* part : {"files", "info"})
        if (std::optional<std::string> problem = folder_problem(folder / part)) return {*problem};
    ClaimedName claimed = claim_name(folder, fs::path(path).filename().string());
    if (!claimed.refusal.empty()) return {claimed.refusal};
    const fs::path record = folder / "info" / (claimed.name + ".trashinfo");
    const QByteArray text = record_text(path);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.constData());
    std::string refusal;
    if (!write_and_close(claimed.record, std::span(bytes, std::size_t(text.size()))))
        refusal = failure("cannot write", record);
    else if (::rename(path.c_str(), (folder / "files" / claimed.name).c_str()) != 0)
        refusal = failure("cannot move " + path + " into", folder / "files");
    // A record left without its file would only show a broken line in the file manager's trash.
    if (!refusal.empty()) ::unlink(record.c_str());
    return {refusal};
}

}  // namespace daybrook
