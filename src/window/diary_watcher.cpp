#include "window/diary_watcher.h"

namespace daybrook {
namespace {

// Long enough to take a sync's burst of files as one change, short enough to look immediate.
constexpr int settle_ms = 150;

}  // namespace

DiaryWatcher::DiaryWatcher(const std::filesystem::path& folder, QObject* parent) : QObject(parent) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(settle_ms);
    connect(&m_settle, &QTimer::timeout, this, &DiaryWatcher::diary_changed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    // A folder that cannot be watched (too many watches in use) only loses the instant update.
    m_watcher.addPath(QString::fromStdString(folder.string()));
}

}  // namespace daybrook
