// A clock that shows whatever time a test sets.
#pragma once

#include "calendar/clock.h"

namespace daybrook::testing {

class FakeClock final : public Clock {
public:
    explicit FakeClock(LocalTime time = {2026, 12, 6, 10, 0}) : m_time(time) {}
    LocalTime now() const override { return m_time; }
    void set(LocalTime time) { m_time = time; }

private:
    LocalTime m_time;
};

}  // namespace daybrook::testing
