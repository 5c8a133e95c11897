#include "framework/termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace daybrook {
namespace {

// A signal handler may do next to nothing: it writes a byte that the event loop then reads. The
// write never waits: once the loop has ended (the diary is saving and purging) nothing reads, and
// a flood of signals would fill the pipe and stop the program in its handler for good. One byte
// waiting is enough to end the loop, so the others may be dropped.
int signal_pipe[2] = {-1, -1};

extern "C" void note_signal(int) {
    const int saved_errno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signal_pipe[0], &byte, 1);
    errno = saved_errno;
}

constexpr int handled[] = {SIGTERM, SIGHUP, SIGINT};

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signal_pipe) != 0) return;
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

// Takes every byte waiting, however many signals came, and ends the loop once.
void TerminationSignals::on_signal() {
    char bytes[256];
    while (::read(signal_pipe[1], bytes, sizeof bytes) > 0) {
    }
    QCoreApplication::exit(0);
}

}  // namespace daybrook
