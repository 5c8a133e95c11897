#include "framework/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

#include <unistd.h>

namespace daybrook {

// Qt makes the trash only inside a data folder that exists; without one it "trashes" into a
// folder named "files" beside the working folder (Qt 6.4), which is the diary's own folder. The
// data folder is made first, and a file that still lands outside a real trash is put back and
// deleted as before.
bool move_to_trash(const std::string& path) {
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const QString file = QString::fromStdString(path);
    QString trashed;
    if (QFile::moveToTrash(file, &trashed)) {
        if (QFileInfo(trashed).isAbsolute()) return true;
        QFile::rename(trashed, file);
    }
    return ::unlink(path.c_str()) == 0;
}

}  // namespace daybrook
