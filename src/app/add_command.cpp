#include "app/add_command.h"

#include <QStringList>

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "app/entry_lines.h"
#include "app/terminal_dates.h"
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

// The day of the typed date; a yearly entry needs a dated day that recurs every year.
TypedDay chosen_date(const std::string& typed, const TerminalRun& run, bool yearly) {
    TypedDay chosen = typed_day(typed, run.today, PastDates::refused, stored_limit(run));
    if (!chosen.refusal.empty() || !yearly) return chosen;
    const CalendarDate date = day_to_calendar(chosen.day);
    if (chosen.form != DateForm::plain) chosen.refusal = "Only a date typed as dd/mm/yy can repeat every year!";
    else if (!may_repeat_yearly(date.day, date.month)) chosen.refusal = yearly_leap_day_message;
    return chosen;
}

// The first character of the words that the record's code page lacks, with its code point.
QString first_unstorable(const QStringList& words) {
    for (const QString& word : words)
        for (const char32_t code : word.toUcs4()) {
            const QString character = QString::fromUcs4(&code, 1);
            if (!to_code_page(character))
                return QStringLiteral("\"%1\" (U+%2)")
                    .arg(character, QString::number(uint(code), 16).toUpper().rightJustified(4, QChar('0')));
        }
    return QStringLiteral("?");
}

// The memo in the record's code page, or nothing after saying why it cannot be stored.
std::optional<std::string> typed_memo(const QStringList& words, const TerminalRun& run) {
    std::optional<std::string> bytes = to_code_page(words.join(QChar(' ')));
    // A memo is one line, as New Entry's field holds it.
    if (bytes) bytes = one_line(*bytes);
    if (!bytes) {
        run.err << "The entry holds a character that the diary cannot store: " << first_unstorable(words) << '\n';
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
    const std::optional<std::string> memo = typed_memo(words, run);
    if (!memo) return TerminalStatus::failed;
    const bool yearly = parser.isSet(QStringLiteral("yearly"));
    const TypedDay date = chosen_date(parser.value(QStringLiteral("add")).toStdString(), run, yearly);
    if (!date.refusal.empty()) return refuse(run, date.refusal);
    const NewEntryRequest request{.days = {date.day}, .form = date.form, .text = *memo,
                                  .red = parser.isSet(QStringLiteral("red-letter")), .yearly = yearly};
    if (!within_diary(request)) return refuse(run, "The repeats would run past 31/12/50, the last date the diary holds!");
    return write_and_show(request, parser, run);
}

}  // namespace daybrook
