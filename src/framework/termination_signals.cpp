#include "framework/termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace daybrook {
namespace {

// A signal handler may do next to nothing: it writes a byte that the event loop then reads.
int signal_pipe[2] = {-1, -1};

extern "C" void note_signal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signal_pipe[0], &byte, 1);
}

constexpr int handled[] = {SIGTERM, SIGHUP, SIGINT};

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signal_pipe) != 0) return;
    m_notifier = new QSocketNotifier(signal_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::on_signal);
    struct sigaction action {};
    action.sa_handler = note_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : handled) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    for (int signal : handled) std::signal(signal, SIG_DFL);
    for (int& end : signal_pipe) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

void TerminationSignals::on_signal() {
    char byte = 0;
    [[maybe_unused]] const ssize_t got = ::read(signal_pipe[1], &byte, 1);
    QCoreApplication::exit(0);
}

}  // namespace daybrook
