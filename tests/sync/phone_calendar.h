// The vdir as a phone sees it, for the model test of the sync: the all-day events a phone's
// calendar writes there through vdirsyncer, and the days on which any event of the folder falls,
// whether the phone or the diary wrote it.
#pragma once

#include <compare>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/day_number.h"

namespace daybrook::sync_model {

enum class Repeat { once, weekly, yearly };

struct PhoneEvent {
    std::string uid;
    DayNumber day = 0;  // the first day
    std::string summary;
    Repeat repeat = Repeat::once;  // weekly and yearly repeats have no end
    bool red = false;
};

// One day of an event or an entry: what the user sees on that day.
struct Occurrence {
    DayNumber day = 0;
    std::string memo;  // without leading and trailing spaces
    bool red = false;

    friend auto operator<=>(const Occurrence&, const Occurrence&) = default;
};

std::string trimmed(std::string_view text);

// The calendar file of one event, with CRLF line ends, as a CalDAV client writes it.
std::string phone_event_text(const PhoneEvent& event);

// Replaces a vdir item the way vdirsyncer does: a hidden temporary file renamed over the item,
// which gives it a new etag.
void write_like_a_phone(const std::filesystem::path& vdir, const std::string& name, const std::string& text);

// The event of a calendar file written by the phone or by the diary; nothing when it has no
// all-day start.
std::optional<PhoneEvent> read_event(std::string_view text);

// The event's days from `first` to `last`.
std::vector<DayNumber> occurrence_days(DayNumber start, Repeat repeat, DayNumber first, DayNumber last);

// Every day from `first` to `last` of every event in the vdir, sorted.
std::vector<Occurrence> vdir_occurrences(const std::filesystem::path& vdir, DayNumber first, DayNumber last);

// The vdir item holding the event with this summary; empty when there is none.
std::string vdir_item_with_summary(const std::filesystem::path& vdir, std::string_view summary);

}  // namespace daybrook::sync_model
