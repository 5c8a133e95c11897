#include "framework/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

namespace daybrook {
namespace {

constexpr auto retry_period = std::chrono::milliseconds(100);
constexpr int tries = 20;  // the first copy may still be starting: its socket comes after its lock

// The lock file and the socket live in the runtime folder, which is the user's alone, named for
// the key.
std::string runtime_path(const QString& key, const char* suffix) {
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return (folder + QStringLiteral("/daybrook-") + QString::fromLatin1(digest) + QLatin1String(suffix)).toStdString();
}

std::optional<sockaddr_un> address_of(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return std::nullopt;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

UniqueFd local_socket() { return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)); }

}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), m_key(key) {}

// The paths are worked out here, not at construction: the glance at login never claims.
bool SingleInstance::claim() {
    m_lock_path = runtime_path(m_key, ".lock");
    m_socket_path = runtime_path(m_key, ".socket");
    m_address = socket_address();
    UniqueFd lock(::open(m_lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, private_file_mode));
    if (!lock.valid()) return true;  // no lock to be had: open anyway
    if (::flock(lock.get(), LOCK_EX | LOCK_NB) == 0) {
        m_lock = std::move(lock);
        serve();
        return true;
    }
    return !ask_first_copy();
}

// The socket's address. A path too long for one (a runtime folder deep down) is reached through
// an open descriptor of its folder instead, by that descriptor's short name under /proc: the
// socket stays in the user's own folder, where no other user can take its name first.
std::optional<sockaddr_un> SingleInstance::socket_address() {
    if (std::optional<sockaddr_un> address = address_of(m_socket_path)) return address;
    const std::filesystem::path path(m_socket_path);
    m_folder = UniqueFd(::open(path.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!m_folder.valid()) return std::nullopt;
    return address_of("/proc/self/fd/" + std::to_string(m_folder.get()) + "/" + path.filename().native());
}

// Connecting is the whole request: the first copy comes to the front for every caller.
bool SingleInstance::ask_first_copy() const {
    const std::optional<sockaddr_un>& address = m_address;
    if (!address) return false;
    for (int attempt = 0; attempt < tries; ++attempt) {
        UniqueFd socket = local_socket();
        if (!socket.valid()) return false;
        if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0) return true;
        std::this_thread::sleep_for(retry_period);
    }
    return false;
}

void SingleInstance::serve() {
    const std::optional<sockaddr_un>& address = m_address;
    if (!address) return;
    ::unlink(m_socket_path.c_str());  // a socket file left by a crashed run
    UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listener.valid() || ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::listen(listener.get(), 4) != 0)
        return;
    m_listener = std::move(listener);
    m_notifier = new QSocketNotifier(m_listener.get(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SingleInstance::take_callers);
}

void SingleInstance::take_callers() {
    bool called = false;
    while (true) {
        const UniqueFd caller(::accept4(m_listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!caller.valid()) break;
        called = true;
    }
    if (called) emit activation_requested();
}

}  // namespace daybrook
