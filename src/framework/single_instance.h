// One normal diary window per diary folder: a second start hands over to the window that is open
// (which comes to the front) and ends, instead of opening another over it. The first start holds
// a lock file in the user's runtime folder and listens on a local socket beside it; the kernel's
// process table tells a lock left by a crashed run, which never blocks a later start.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace daybrook {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The key names what is to be open once, e.g. the diary folder's path.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the first place, or asks the copy that has it to come to the front. True when this
    // copy is the first and should open its window; false when the other took the request (this
    // one should end) — or could be reached by neither way, in which case this copy opens its
    // window all the same rather than leave the user without one.
    bool claim();

signals:
    // A later start asked the window to come to the front.
    void activation_requested();

private:
    bool ask_first_copy();
    void serve();

    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

}  // namespace daybrook
