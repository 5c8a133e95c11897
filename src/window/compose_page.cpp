#include "window/compose_page.h"

#include <cstdio>
#include <string>

#include "calendar/day_names.h"
#include "calendar/text_helpers.h"
#include "store/deletion_list.h"

namespace daybrook {
namespace {

// Distances fixed by the page's design, in pixels.
constexpr int header_x = 10, header_y = 10;
constexpr int year_label_x = 400;
constexpr int search_entry_offset = 92;
constexpr int search_first_line = 40;
constexpr int yearly_mark_x = 3;

struct Layout {
    int column_base;
    int line_step;
};

std::string clock_text(const LocalTime& now) {
    char text[32];
    std::snprintf(text, sizeof text, "Time now: %d:%02d hrs.", now.hour, now.minute);
    return text;
}

const char* week_header(const DiaryState& state) {
    if (state.view.start_day == state.today) return "The Next Seven Days:";
    return state.view.start_day > state.today ? "Looking at weeks ahead:" : "Looking at past weeks:";
}

Rgb entry_colour(DayNumber day, DayNumber today, const EntryRecord& entry) {
    if (day < today) return colours::ghost;
    return entry.red != 0 ? colours::red_letter : colours::entry;
}

// An entry as a listener hears it: its memo and, in words, what its colour and mark show.
std::string spoken_entry(const EntryRecord& entry) {
    std::string words = entry.text.empty() ? "blank entry" : entry.text;
    if (entry.red != 0) words += ", red letter";
    if (entry.yearly != EntryRecord::not_yearly) words += ", yearly";
    return words;
}

// One day of the week page: its date beside its first entry, further entries below, and one
// line for a day without entries. Returns the y of the next day.
int compose_day(DayNumber d, int y, const DiaryState& state, const StoreDir& store, const Layout& layout,
                ComposedPage& page) {
    // The rows count plain days, each shown with the entries of its day number.
    const CalendarDate date = plain_day_to_calendar(d);
    const DayNumber r = diary_day_of(d);
    const std::string_view month = month_names[std::size_t(date.month - 1)];
    const int month_x = layout.column_base + day_name_column;
    const int number_x = month_x + month_letter_width * int(month.size());
    const Rgb date_colour = r < state.today ? colours::ghost : colours::date;
    page.items.push_back({std::string(day_abbrevs[std::size_t(date.weekday)]), layout.column_base, y, date_colour});
    page.items.push_back({std::string(month), month_x, y, date_colour});
    page.items.push_back({std::to_string(date.day), number_x, y, date_colour});
    SpokenLine spoken{std::string(day_names[std::size_t(date.weekday)]) + " " + std::to_string(date.day) + " " +
                          std::string(month), y};
    const char* separator = ": ";

    bool any = false;
    for (const SlotEntry& slot_entry : slot_entries(store, r)) {
        const EntryRecord& entry = slot_entry.record;
        page.alarm_level = raised_alarm_level(page.alarm_level, r, state.today, entry);
        page.items.push_back({entry.text, number_x + day_number_column, y, entry_colour(r, state.today, entry)});
        spoken.text += separator + spoken_entry(entry);
        separator = "; ";
        y += layout.line_step;
        any = true;
    }
    if (!any) spoken.text += ": no entries";
    page.spoken.push_back(std::move(spoken));
    return any ? y : y + layout.line_step;
}

void compose_week(const DiaryState& state, const StoreDir& store, const Layout& layout, ComposedPage& page) {
    page.last_week = ButtonChange::show;
    page.items.push_back({week_header(state), header_x, header_y, colours::text});
    // One year label for the page: the year of its last row.
    const DayNumber last_row = state.view.start_day + days_per_week - 1;
    const std::string year = "Year " + std::to_string(plain_day_to_calendar(last_row).year);
    page.items.push_back({year, year_label_x, header_y, colours::red_letter});
    page.spoken.push_back({std::string(week_header(state)) + " " + year, header_y});
    int y = 2 * layout.line_step;
    for (DayNumber d = state.view.start_day - 1; d <= last_row; ++d) y = compose_day(d, y, state, store, layout, page);
}

void compose_search(const DiaryState& state, const StoreDir& store, const Layout& layout, ComposedPage& page) {
    page.next_week = ButtonChange::hide;
    page.last_week = ButtonChange::hide;
    page.items.push_back({"Search Results:", header_x, header_y, colours::text});
    page.spoken.push_back({"Search Results:", header_y});
    const int entry_x = layout.column_base + search_entry_offset;
    int y = search_first_line;
    const std::vector<ListedEntry> read = all_entries(store);
    bool any_listed = false;
    for (const ListedEntry& listed : read) {
        const EntryRecord& entry = listed.record;
        if (!search_matches(state.view, entry.text)) continue;
        const Rgb colour = entry_colour(day_of_entry_name(listed.name), state.today, entry);
        page.items.push_back({entry.date, layout.column_base, y, colour});
        page.items.push_back({entry.text, entry_x, y, colour});
        if (entry.yearly != EntryRecord::not_yearly) page.items.push_back({"*", yearly_mark_x, y, colours::date});
        page.spoken.push_back({entry.date + ": " + spoken_entry(entry), y});
        y += layout.line_step;
        any_listed = true;
    }
    // The colour left over from the last entry read: blue, or the default when none was read.
    if (!any_listed) {
        page.items.push_back({"No Match Found", layout.column_base, search_first_line,
                              read.empty() ? colours::text : colours::date});
        page.spoken.push_back({"No Match Found", search_first_line});
    }
}

}  // namespace

bool search_matches(const ViewState& view, std::string_view text) {
    return view.show_all || holds_word(text, view.search_word, view.case_sensitive);
}

ComposedPage compose_page(const DiaryState& state, const LocalTime& now, const StoreDir& store,
                          const PageGeometry& geometry) {
    ComposedPage page;
    page.alarm_level = state.alarm_level;
    const PageItem clock{clock_text(now), 250, 355, colours::text, FontRole::standard};
    page.items.push_back(clock);
    if (!too_small_for_page(geometry.client_width, geometry.client_height)) {
        const Layout layout{.column_base = geometry.xxx_width / 2, .line_step = geometry.font_height * 3 / 2};
        switch (state.view.page_mode) {
        case PageMode::none: break;
        case PageMode::week: compose_week(state, store, layout, page); break;
        case PageMode::search_results: compose_search(state, store, layout, page); break;
        }
    }
    page.spoken.push_back({clock.text, clock.y});  // drawn first, at the foot of the page
    return page;
}

}  // namespace daybrook
