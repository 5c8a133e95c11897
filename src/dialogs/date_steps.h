// The two steps that turn a short form of date into dates: a day name into the dates the user
// picks among the next ones on that weekday, a number into the date that many days ahead. Both
// count from the clock's date when they run, which may be later than the diary's start-up day.
// A step that fails, or whose dialog is cancelled, gives nothing.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"
#include "framework/dialog_services.h"

class QWidget;

namespace daybrook {

std::optional<std::vector<DayNumber>> day_name_step(const DialogServices& services, QWidget* owner,
                                                    std::string_view text);

std::optional<DayNumber> days_ahead_step(const DialogServices& services, QWidget* owner, int days);

}  // namespace daybrook
