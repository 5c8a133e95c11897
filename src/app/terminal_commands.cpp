#include "app/terminal_commands.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "app/add_command.h"
#include "app/calendar_commands.h"
#include "app/entry_lines.h"
#include "app/sync_command.h"
#include "app/terminal_dates.h"
#include "app/terminal_options.h"
#include "calendar/clock.h"
#include "config/settings.h"
#include "diary/entry_listing.h"
#include "framework/code_page.h"
#include "framework/qt_text.h"

namespace daybrook {
namespace {

constexpr int default_days = 7;

TerminalStatus print_help(const QCommandLineParser& parser, const TerminalRun& run) {
    run.out << parser.helpText();
    return TerminalStatus::done;
}

TerminalStatus print_version(const QCommandLineParser&, const TerminalRun& run) {
    run.out << "daybrook " << QCoreApplication::applicationVersion() << '\n';
    return TerminalStatus::done;
}

// The number of days asked for, or nothing for a text that is not a sensible count.
std::optional<int> day_count(const QStringList& positional) {
    if (positional.isEmpty()) return default_days;
    bool number = false;
    const int days = positional.first().toInt(&number);
    if (!number || days < 1 || positional.size() > 1) return std::nullopt;
    return std::min(days, last_diary_day + 1);
}

// The first day listed: today, or the day of --from, past days included; nothing after saying
// why the date names no day.
std::optional<DayNumber> first_listed_day(const QCommandLineParser& parser, const TerminalRun& run) {
    if (!parser.isSet(QStringLiteral("from"))) return run.today;
    const QString typed = parser.value(QStringLiteral("from"));
    const TypedDay from =
        typed_day(typed.toStdString(), run.today, PastDates::allowed, {.old_entries_kept = true, .oldest_day = 0});
    if (from.refusal.empty()) return from.day;
    run.err << "--from " << typed << ": " << qt_text(from.refusal) << '\n';
    return std::nullopt;
}

TerminalStatus list_command(const QCommandLineParser& parser, const TerminalRun& run) {
    const std::optional<int> days = day_count(parser.positionalArguments());
    if (!days) {
        run.err << "DAYS must be a number of days, 1 or more.\n";
        return TerminalStatus::refused;
    }
    const std::optional<DayNumber> first = first_listed_day(parser, run);
    if (!first) return TerminalStatus::refused;
    if (!diary_readable(run)) return TerminalStatus::failed;
    const int shown = std::min(*days, last_diary_day - *first + 1);
    print_entries(run.out, entries_of_days(run.folder, *first, shown), format_asked(parser));
    return TerminalStatus::done;
}

TerminalStatus search_command(const QCommandLineParser& parser, const TerminalRun& run) {
    const std::optional<std::string> word = to_code_page(parser.value(QStringLiteral("search")));
    if (!word) {
        run.err << "The word holds a character that no entry can hold.\n";
        return TerminalStatus::refused;
    }
    if (!diary_readable(run)) return TerminalStatus::failed;
    const bool case_sensitive = parser.isSet(QStringLiteral("case-sensitive"));
    print_entries(run.out, entries_holding(run.folder, *word, case_sensitive), format_asked(parser));
    return TerminalStatus::done;
}

struct CommandEntry {
    std::string_view option;
    TerminalCommand run;
    bool takes_words;  // whether words without an option (DAYS, MEMO) belong to it
};

// The commands, by the option that asks for each. --list is also what runs without any of them.
constexpr std::array commands = {
    CommandEntry{"help", print_help, false},
    CommandEntry{"version", print_version, false},
    CommandEntry{"list", list_command, true},
    CommandEntry{"search", search_command, false},
    CommandEntry{"add", add_entry_command, true},
    CommandEntry{"export-ics", export_calendar_command, false},
    CommandEntry{"import-ics", import_calendar_command, false},
    CommandEntry{"sync", sync_command, false},
    CommandEntry{"undo-import", undo_import_command, false},
};
constexpr const CommandEntry& default_command = commands[2];

// Whether every option given goes with the command, and none is given twice (the parser would
// join a second --add's value to the first's, or take the last --until alone); says why not.
bool options_fit(const CommandEntry& command, const QCommandLineParser& parser, QTextStream& err) {
    const QStringList given = parser.optionNames();
    for (const TerminalOption& option : terminal_options) {
        const QString name = qt_text(option.name);
        const auto count = given.count(name) + (option.letter ? given.count(QString(QChar(option.letter))) : 0);
        if (count == 0) continue;
        if (!option.goes_with.empty() && !goes_with(option, command.option)) {
            err << "--" << name << " does not go with --" << qt_text(command.option) << ".\n";
            return false;
        }
        if (count > 1) {
            err << "--" << name << " can be given once only.\n";
            return false;
        }
    }
    return true;
}

// The command the parsed line asks for, or nothing after saying why the line cannot be taken.
std::optional<CommandEntry> chosen_command(const QCommandLineParser& parser, QTextStream& err) {
    std::vector<CommandEntry> asked;
    for (const CommandEntry& command : commands)
        if (parser.isSet(qt_text(command.option))) asked.push_back(command);
    if (asked.size() > 1) {
        err << "Give one command at a time: --" << qt_text(asked[0].option) << " and --" << qt_text(asked[1].option)
                << " cannot go together.\n";
        return std::nullopt;
    }
    const CommandEntry command = asked.empty() ? default_command : asked.front();
    if (!options_fit(command, parser, err)) return std::nullopt;
    if (!command.takes_words && !parser.positionalArguments().isEmpty()) {
        err << "--" << qt_text(command.option) << " takes no further words, but was given "
                << parser.positionalArguments().join(QChar(' ')) << ".\n";
        return std::nullopt;
    }
    return command;
}

}  // namespace

std::optional<std::string_view> chosen_command_name(const QCommandLineParser& parser, QTextStream& err) {
    const std::optional<CommandEntry> command = chosen_command(parser, err);
    if (!command) return std::nullopt;
    return command->option;
}

TerminalStatus run_terminal_command(const QStringList& arguments, const TerminalRun& run) {
    QCommandLineParser parser;
    add_terminal_options(parser);
    // The parser takes the program's name first.
    if (!parser.parse(QStringList{QCoreApplication::applicationName()} + arguments)) {
        run.err << parser.errorText() << '\n' << qt_text(usage_line) << '\n';
        return TerminalStatus::refused;
    }
    const std::optional<std::string_view> name = chosen_command_name(parser, run.err);
    if (!name) return TerminalStatus::refused;
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const CommandEntry& entry) { return entry.option == *name; });
    return command->run(parser, run);
}

int run_terminal_program(char* program, std::span<const std::string_view> arguments, const StoreDir& folder) {
    // Qt is given the program name alone, so that it takes none of the diary's arguments.
    int qt_argc = 1;
    char* qt_argv[] = {program, nullptr};
    QCoreApplication application(qt_argc, qt_argv);
    QCoreApplication::setApplicationName(QStringLiteral("daybrook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DAYBROOK_VERSION));
    QStringList words;
    for (std::string_view argument : arguments)
        words << QString::fromLocal8Bit(argument.data(), qsizetype(argument.size()));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const SystemClock clock;
    const TerminalStatus status = run_terminal_command(
        words, {.folder = folder, .settings = settings_path(), .today = today_from(clock), .out = out, .err = err});
    out.flush();
    err.flush();
    return int(status);
}

}  // namespace daybrook
