#include "framework/timer_set.h"

#include <QTimerEvent>

namespace daybrook {

void TimerSet::start(TimerId id, int milliseconds) {
    Slot& slot = m_slots[index(id)];
    slot.timer.start(milliseconds, m_owner);
    slot.period = milliseconds;
}

void TimerSet::stop(TimerId id) { m_slots[index(id)].timer.stop(); }

bool TimerSet::is_active(TimerId id) const { return m_slots[index(id)].timer.isActive(); }

std::optional<int> TimerSet::period(TimerId id) const {
    const Slot& slot = m_slots[index(id)];
    if (!slot.timer.isActive()) return std::nullopt;
    return slot.period;
}

int TimerSet::timer_id(TimerId id) const {
    const QBasicTimer& timer = m_slots[index(id)].timer;
    return timer.isActive() ? timer.timerId() : 0;
}

std::optional<TimerId> TimerSet::fired(const QTimerEvent& event) const {
    for (TimerId id : {TimerId::startup, TimerId::close, TimerId::minute}) {
        const QBasicTimer& timer = m_slots[index(id)].timer;
        if (timer.isActive() && timer.timerId() == event.timerId()) return id;
    }
    return std::nullopt;
}

}  // namespace daybrook
