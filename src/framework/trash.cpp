#include "framework/trash.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <optional>

namespace daybrook {
namespace {

// The folder that holds the home trash, as the desktop's rules give it. A relative or empty one
// is none: Qt would make the trash's folders inside the working folder, which is the diary's.
std::optional<QString> data_home() {
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!data.isEmpty()) return QDir::isAbsolutePath(data) ? std::optional(data) : std::nullopt;
    const QString home = qEnvironmentVariable("HOME");
    if (!QDir::isAbsolutePath(home)) return std::nullopt;
    return home + QStringLiteral("/.local/share");
}

}  // namespace

// Qt makes the trash only inside a data folder that exists, so that folder is made first.
bool move_to_trash(const std::string& path) {
    const std::optional<QString> data = data_home();
    if (!data || !QDir().mkpath(*data)) return false;
    return QFile::moveToTrash(QString::fromStdString(path));
}

}  // namespace daybrook
