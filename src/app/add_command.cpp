#include "app/add_command.h"

#include <QStringList>

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "app/entry_lines.h"
#include "calendar/date_check.h"
#include "calendar/date_choices.h"
#include "calendar/text_helpers.h"
#include "config/settings.h"
#include "diary/diary_state.h"
#include "diary/entry_listing.h"
#include "framework/code_page.h"
#include "framework/qt_text.h"
#include "ics/ics_terms.h"
#include "store/new_entries.h"

namespace daybrook {
namespace {

// The day of a typed date, with the form it was typed in; or New Entry's message for why it is
// refused.
struct ChosenDate {
    DayNumber day = 0;
    DateForm form = DateForm::plain;
    std::string_view refusal;
};

void say(const TerminalRun& run, std::string_view message) { run.err << qt_text(message) << '\n'; }

[[nodiscard]] TerminalStatus refuse(const TerminalRun& run, std::string_view message) {
    say(run, message);
    return TerminalStatus::failed;
}

// What dates are checked against: how long old entries are kept, as the settings say. Settings
// that cannot be read count as keeping none, which only changes which past-date message is given.
RetentionLimit stored_limit(const TerminalRun& run) {
    RetentionState retention{.last_set = run.today};
    KeepCode code = KeepCode::none;
    const std::variant<Settings, SettingsProblem> stored = SettingsFile(run.settings).read(run.today);
    if (const auto* settings = std::get_if<Settings>(&stored)) {
        retention.last_set = settings->last_set;
        code = settings->keep_code;
    }
    set_keep_code(retention, code, run.today);
    return retention_limit(retention);
}

// The short forms stand for the first date New Entry offers for them.
ChosenDate short_form_date(ShortFormDates dates, DateForm form) {
    if (dates.error != ShortFormError::none) return {.form = form, .refusal = short_form_message(dates.error)};
    return {.day = dates.days.front(), .form = form};
}

// New Entry shows the date a number of days ahead stands for before it takes it; without that
// look, a text such as "6-12-26" would quietly become six days ahead. So here only a whole
// number counts as days ahead, and anything else is checked as a "dd/mm/yy" date.
DateForm form_of(std::string_view typed) {
    const DateForm form = classify_date_text(typed);
    const std::string_view digits = typed.starts_with('-') || typed.starts_with('+') ? typed.substr(1) : typed;
    const bool whole_number = !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    return form == DateForm::days_ahead && !whole_number ? DateForm::plain : form;
}

// The short forms give days from today to the diary's last day, which need no further check.
ChosenDate chosen_date(const std::string& typed, const TerminalRun& run, bool yearly) {
    const DateForm form = form_of(typed);
    if (form != DateForm::plain) {
        ChosenDate chosen = form == DateForm::day_name
                                ? short_form_date(day_name_dates(typed, run.today), form)
                                : short_form_date(days_ahead_dates(text_to_int(typed), run.today), form);
        if (chosen.refusal.empty() && yearly) chosen.refusal = "Only a date typed as dd/mm/yy can repeat every year!";
        return chosen;
    }
    const DateCheck check = check_date(PastDates::refused, typed, run.today, stored_limit(run));
    if (check.error != DateError::none) return {.refusal = date_message(check.error)};
    if (yearly && !may_repeat_yearly(check.day, check.month)) return {.refusal = yearly_leap_day_message};
    return {.day = check.day_number};
}

// The memo in the record's code page, or nothing after saying why it cannot be stored.
std::optional<std::string> memo_of(const QStringList& words, const TerminalRun& run) {
    std::optional<std::string> bytes = to_code_page(words.join(QChar(' ')));
    // A memo is one line, as New Entry's field holds it.
    if (bytes) bytes = one_line(*bytes);
    if (!bytes) {
        say(run, "The entry holds a character that the diary cannot store.");
    } else if (bytes->size() > memo_limit) {
        run.err << "The entry has " << bytes->size() << " characters; the diary holds " << memo_limit
                << " at most.\n";
        bytes.reset();
    } else if (is_blank(*bytes)) {
        say(run, "No Entry has been made for this Date!");
        bytes.reset();
    }
    return bytes;
}

// Writes the entry and prints it as --list does.
TerminalStatus write_and_show(const NewEntryRequest& request, const QCommandLineParser& parser, const TerminalRun& run) {
    const WrittenEntries result = write_new_entries(run.folder, request);
    if (!result.full_days.empty()) {
        run.err << qt_text(day_full_message(result.full_days)) << '\n';
        return TerminalStatus::failed;
    }
    if (!result.failed_days.empty() || result.written.empty()) {
        run.err << qt_text(not_saved_message(requested_days(request))) << '\n';
        return TerminalStatus::failed;
    }
    const std::string& name = result.written.front();
    std::vector<DiaryEntry> shown = entries_of_days(run.folder, day_of_entry_name(name), 1);
    std::erase_if(shown, [&](const DiaryEntry& entry) { return entry.record.file != name; });
    print_entries(run.out, shown, format_asked(parser));
    return TerminalStatus::done;
}

}  // namespace

TerminalStatus add_entry_command(const QCommandLineParser& parser, const TerminalRun& run) {
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty()) {
        run.err << "--add needs a date and the entry: daybrook --add DATE MEMO\n";
        return TerminalStatus::refused;
    }
    const std::optional<std::string> memo = memo_of(words, run);
    if (!memo) return TerminalStatus::failed;
    const bool yearly = parser.isSet(QStringLiteral("yearly"));
    const ChosenDate date = chosen_date(parser.value(QStringLiteral("add")).toStdString(), run, yearly);
    if (!date.refusal.empty()) return refuse(run, date.refusal);
    const NewEntryRequest request{.days = {date.day}, .form = date.form, .text = *memo,
                                  .red = parser.isSet(QStringLiteral("red-letter")), .yearly = yearly};
    if (!within_diary(request)) return refuse(run, "The repeats would run past 31/12/50, the last date the diary holds!");
    return write_and_show(request, parser, run);
}

}  // namespace daybrook
