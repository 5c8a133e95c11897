#include "framework/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace daybrook {
namespace {

constexpr int wait_ms = 2000;
constexpr char activate_request = 'A';

// The lock file and the socket, in the runtime folder (private to the user), named for the key.
QString runtime_path(const QString& key, const char* suffix) {
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder + QStringLiteral("/daybrook-") + QString::fromLatin1(digest) + QLatin1String(suffix);
}

}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), m_name(runtime_path(key, ".socket")),
      m_lock(std::make_unique<QLockFile>(runtime_path(key, ".lock"))) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim() {
    // The lock of a process that is gone counts as stale at once, whatever its age.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        serve();
        return true;
    }
    if (m_lock->error() != QLockFile::LockFailedError) return true;  // no lock to be had: open anyway
    return !ask_first_copy();
}

// The first copy may still be starting: its socket comes up shortly after its lock.
bool SingleInstance::ask_first_copy() {
    QLocalSocket socket;
    for (int waited = 0; waited < wait_ms; waited += 100) {
        socket.connectToServer(m_name);
        if (socket.waitForConnected(100)) break;
        socket.abort();
    }
    if (socket.state() != QLocalSocket::ConnectedState) return false;
    socket.write(&activate_request, 1);
    return socket.waitForBytesWritten(wait_ms);
}

void SingleInstance::serve() {
    QLocalServer::removeServer(m_name);  // a socket file left by a crashed run
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) return;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = m_server->nextPendingConnection()) {
            connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
                if (caller->readAll().contains(activate_request)) emit activation_requested();
                caller->disconnectFromServer();
            });
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        }
    });
}

}  // namespace daybrook
