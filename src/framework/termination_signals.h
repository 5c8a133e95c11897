// Ending the diary the ordinary way when the desktop session asks it to stop with SIGTERM,
// SIGHUP or SIGINT: the event loop ends, so the settings are saved and old entries purged just
// as when the user closes the window.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace daybrook {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; at most one instance lives at a time.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void on_signal();

    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace daybrook
