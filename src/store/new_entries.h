// Making new entries: a request from the New Entry dialog expands into one entry per date, week
// and day, each written to the lowest free slot of its day.
#pragma once

#include <string>
#include <vector>

#include "calendar/date_choices.h"
#include "calendar/day_number.h"
#include "store/entry_files.h"

namespace daybrook {

struct NewEntryRequest {
    std::vector<DayNumber> days;  // the dates asked for, one to twenty
    DateForm form = DateForm::plain;
    int week_count = 1;  // the same weekday this many weeks running
    int day_count = 1;   // this many days running from each date
    std::string text;    // the memo, Windows-1252 bytes
    bool red = false;
    bool yearly = false;  // only a plain date can repeat each year
};

// The days the request makes entries for, in the order they are written: for each date, for
// each week, for each day. A yearly entry meeting 29 February is made for that day all the same.
// A day name or a number of days ahead always counts one week; a count below 1 gives no days.
// A day past the largest day number is given as that number.
std::vector<DayNumber> requested_days(const NewEntryRequest& request);

// Whether every requested day lies on or before 31 December 2050, the last day the diary holds.
bool within_diary(const NewEntryRequest& request);

// The days of the request that have no room for all the entries it would add there (a day takes
// ten), each once, in the order of the request. A slot counts as taken when anything has its name.
std::vector<DayNumber> days_without_room(const StoreDir& dir, const NewEntryRequest& request);

struct WrittenEntries {
    std::vector<std::string> written;  // the files written, in order
    std::vector<DayNumber> full_days;  // days that already held ten entries; nothing written there
    std::vector<DayNumber> failed_days;  // days whose file could not be written
};

// Writes one entry for every requested day. A yearly request's occurrence on 29 February is
// written as not yearly, since no later year could carry it over. Days that are full or fail
// to write are reported, the others written all the same.
// A blank memo writes nothing; the dialog refuses it before, and this only guards the store.
// Whether the request stays within the diary is not checked here: the caller refuses a request
// for which within_diary is false before it writes anything, since a day after 2050 would get
// a date text that reads back as a year of the last century.
[[nodiscard]] WrittenEntries write_new_entries(const StoreDir& dir, const NewEntryRequest& request);

// What New Entry and the terminal's --add tell about days that are full or could not be written,
// the days listed as "dd/mm/yy, dd/mm/yy".
std::string day_full_message(const std::vector<DayNumber>& days);
std::string not_saved_message(const std::vector<DayNumber>& days);

}  // namespace daybrook
