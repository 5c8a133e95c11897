// The main window's timers, known by small fixed ids, so that a tick can be routed by id and a
// timer restarted under its id replaces the running one.
#pragma once

#include <QBasicTimer>

#include <array>
#include <optional>

class QObject;
class QTimerEvent;

namespace daybrook {

enum class TimerId { startup = 1, close = 2, minute = 3 };

class TimerSet {
public:
    explicit TimerSet(QObject* owner) : m_owner(owner) {}

    // Starts the timer, replacing it if it runs; its period starts anew.
    void start(TimerId id, int milliseconds);
    void stop(TimerId id);
    bool is_active(TimerId id) const;
    // The period the running timer was started with.
    std::optional<int> period(TimerId id) const;

    // The platform's id of the running timer, as its ticks carry it; 0 when it is not running.
    int timer_id(TimerId id) const;

    // Which of the timers a timer event belongs to.
    std::optional<TimerId> fired(const QTimerEvent& event) const;

private:
    struct Slot {
        QBasicTimer timer;
        int period = 0;
    };
    static std::size_t index(TimerId id) { return static_cast<std::size_t>(id) - 1; }

    QObject* m_owner;
    std::array<Slot, 3> m_slots;
};

}  // namespace daybrook
