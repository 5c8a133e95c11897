#include "store/new_entries.h"

#include <cstdint>
#include <limits>
#include <map>
#include <utility>

namespace daybrook {

namespace {

// A day, week and day offset added without overflow: a day near the largest day number
// saturates there (far outside the diary) instead of wrapping into it.
DayNumber offset_day(DayNumber start, int week, int day) noexcept {
    const std::int64_t sum = std::int64_t{start} + std::int64_t{days_per_week} * week + day;
    constexpr std::int64_t largest = std::numeric_limits<DayNumber>::max();
    return static_cast<DayNumber>(sum < largest ? sum : largest);
}

bool repeats_yearly_on(DayNumber day) noexcept {
    const CalendarDate date = day_to_calendar(day);
    return may_repeat_yearly(date.day, date.month);
}

// The record written for one day: the request's memo and flags, yearly only where a later year
// can carry the day over.
EntryRecord record_for(const NewEntryRequest& request, DayNumber day) {
    const bool yearly = request.yearly && request.form == DateForm::plain && repeats_yearly_on(day);
    EntryRecord record;
    record.text = request.text;
    record.red = request.red ? 1 : 0;
    record.yearly = yearly ? EntryRecord::yearly_pending : EntryRecord::not_yearly;
    return record;
}

}  // namespace

std::vector<DayNumber> days_without_room(const StoreDir& dir, const NewEntryRequest& request) {
    const std::vector<DayNumber> days = requested_days(request);
    std::map<DayNumber, int> wanted;
    for (DayNumber day : days) ++wanted[day];
    std::vector<DayNumber> full;
    for (DayNumber day : days) {
        const auto count = wanted.find(day);
        if (count == wanted.end()) continue;  // already looked at
        if (count->second > free_slot_count(dir, day)) full.push_back(day);
        wanted.erase(count);
    }
    return full;
}

std::vector<DayNumber> requested_days(const NewEntryRequest& request) {
    // A day name or a number of days ahead never repeats weekly.
    const int weeks = request.form == DateForm::plain ? request.week_count : 1;
    std::vector<DayNumber> days;
    if (weeks < 1 || request.day_count < 1) return days;
    for (DayNumber start : request.days) {
        for (int week = 0; week < weeks; ++week)
            for (int day = 0; day < request.day_count; ++day)
                days.push_back(offset_day(start, week, day));
    }
    return days;
}

bool within_diary(const NewEntryRequest& request) {
    for (DayNumber day : requested_days(request))
        if (day > last_diary_day) return false;
    return true;
}

WrittenEntries write_new_entries(const StoreDir& dir, const NewEntryRequest& request) {
    WrittenEntries result;
    if (is_blank(request.text)) return result;
    for (DayNumber day : requested_days(request)) {
        AddedEntry added = add_entry(dir, day, record_for(request, day));
        switch (added.error) {
            case StoreError::none:
                result.written.push_back(std::move(added.name));
                break;
            case StoreError::day_full:
                result.full_days.push_back(day);
                break;
            case StoreError::io_error:
            case StoreError::bad_name:
                result.failed_days.push_back(day);
                break;
        }
    }
    return result;
}

namespace {

std::string listed_dates(const std::vector<DayNumber>& days) {
    std::string dates;
    for (DayNumber day : days) dates += (dates.empty() ? "" : ", ") + day_to_date(day);
    return dates;
}

}  // namespace

std::string day_full_message(const std::vector<DayNumber>& days) {
    return "There is no room for more entries on " + listed_dates(days) + ": a day holds up to ten.";
}

std::string not_saved_message(const std::vector<DayNumber>& days) {
    return "The entry for " + listed_dates(days) + " could not be saved.";
}

}  // namespace daybrook
