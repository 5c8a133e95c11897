#include "framework/termination_signals.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace daybrook {
namespace {

// Each of the session's stop signals ends the event loop the ordinary way, so the diary closes as
// when its window is closed; a flood of them never stops the program in its handler; and the
// handlers go with the guard.
TEST(TerminationSignals, EachStopSignalEndsTheLoopOnceAndAFloodNeverBlocks) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        {
            const TerminationSignals guard;
            QTimer::singleShot(0, [signal] {
                for (int i = 0; i < 100000; ++i) ::raise(signal);
            });
            QTimer give_up;
            give_up.setSingleShot(true);
            QObject::connect(&give_up, &QTimer::timeout, [] { QCoreApplication::exit(1); });
            give_up.start(5000);
            EXPECT_EQ(QCoreApplication::exec(), 0) << signal;
        }
        struct sigaction now {};
        ::sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << signal;
    }
}

}  // namespace
}  // namespace daybrook
