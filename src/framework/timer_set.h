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

    // Which of the timers a timer event belongs to.
    std::optional<TimerId> fired(const QTimerEvent& event) const;

private:
    static std::size_t index(TimerId id) { return static_cast<std::size_t>(id) - 1; }

    QObject* m_owner;
    std::array<QBasicTimer, 3> m_timers;
};

}  // namespace daybrook
