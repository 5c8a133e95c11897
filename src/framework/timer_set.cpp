#include "framework/timer_set.h"

#include <QTimerEvent>

namespace daybrook {

void TimerSet::start(TimerId id, int milliseconds) { m_timers[index(id)].start(milliseconds, m_owner); }

void TimerSet::stop(TimerId id) { m_timers[index(id)].stop(); }

std::optional<TimerId> TimerSet::fired(const QTimerEvent& event) const {
    for (TimerId id : {TimerId::startup, TimerId::close, TimerId::minute}) {
        const QBasicTimer& timer = m_timers[index(id)];
        if (timer.isActive() && timer.timerId() == event.timerId()) return id;
    }
    return std::nullopt;
}

}  // namespace daybrook
