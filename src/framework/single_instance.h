// One normal diary window per diary folder: a second start hands over to the window that is open
// (which comes to the front) and ends, instead of opening another over it. The first start holds
// an exclusive lock on a file in the user's runtime folder and listens on a local socket beside
// it. The kernel drops the lock of a process that dies, so a crashed run never blocks a start.
// Plain POSIX calls do it: the Qt network module would cost every start a dozen libraries.
#pragma once

#include <QObject>
#include <QString>

#include <sys/un.h>

#include <optional>
#include <string>

#include "store/file_writes.h"

class QSocketNotifier;

namespace daybrook {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The key names what is to be open once, e.g. the diary folder's path.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);

    // Takes the first place, or asks the copy that has it to come to the front. True when this
    // copy is the first and should open its window; false when the other took the request (this
    // one should end) — or could be reached by neither way, in which case this copy opens its
    // window all the same rather than leave the user without one.
    bool claim();

signals:
    // A later start asked the window to come to the front.
    void activation_requested();

private:
    std::optional<sockaddr_un> socket_address();
    bool ask_first_copy() const;
    void serve();
    void take_callers();

    QString m_key;
    std::string m_lock_path;
    std::string m_socket_path;
    std::optional<sockaddr_un> m_address;
    UniqueFd m_folder{-1};  // the socket's folder, when its address names it by this descriptor
    UniqueFd m_lock{-1};
    UniqueFd m_listener{-1};
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace daybrook
