// Tells the window when another program (a sync, an import, a second machine through a synced
// folder) adds, removes or replaces files in the diary folder, so that the page shows them at
// once. The kernel reports the changes (inotify through QFileSystemWatcher); nothing polls. A
// burst of changes, such as a sync making many entries, is told once when it settles.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <filesystem>

namespace daybrook {

class DiaryWatcher : public QObject {
    Q_OBJECT
public:
    DiaryWatcher(const std::filesystem::path& folder, QObject* parent);

signals:
    void diary_changed();

private:
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

}  // namespace daybrook
