#include "app/terminal_commands.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <variant>
#include <vector>

#include "app/calendar_import_command.h"
#include "app/ics_loader.h"
#include "calendar/clock.h"
#include "calendar/day_names.h"
#include "calendar/text_helpers.h"
#include "diary/entry_listing.h"
#include "framework/code_page.h"
#include "store/entry_files.h"
#include "store/retention.h"
#include "store/store_lock.h"

namespace daybrook {
namespace {

constexpr std::array<std::string_view, 8> long_options = {"--list",       "--json",        "--search",
                                                           "--export-ics", "--import-ics",  "--undo-import",
                                                           "--help",       "--version"};
constexpr int default_days = 7;

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

// "Mon 07/12/26 !* Dentist": the weekday, the date, a mark for a red-letter and for a yearly
// entry, the memo.
QString line_of(const DiaryEntry& entry) {
    const CalendarDate date = day_to_calendar(entry.day);
    return QStringLiteral("%1 %2 %3%4 %5")
        .arg(QString::fromLatin1(day_abbrevs[std::size_t(date.weekday)].data(), 3),
             QString::fromStdString(day_to_date(entry.day)), QChar(entry.record.red != 0 ? '!' : ' '),
             QChar(entry.record.yearly != EntryRecord::not_yearly ? '*' : ' '), from_code_page(entry.record.text));
}

QJsonObject json_of(const DiaryEntry& entry) {
    const CalendarDate date = day_to_calendar(entry.day);
    return {{"date", QStringLiteral("%1-%2-%3")
                         .arg(date.year, 4, 10, QChar('0'))
                         .arg(date.month, 2, 10, QChar('0'))
                         .arg(date.day, 2, 10, QChar('0'))},
            {"slot", entry.slot},
            {"text", from_code_page(entry.record.text)},
            {"yearly", entry.record.yearly != EntryRecord::not_yearly},
            {"red_letter", entry.record.red != 0}};
}

int print(const std::vector<DiaryEntry>& entries, bool json) {
    if (json) {
        QJsonArray array;
        for (const DiaryEntry& entry : entries) array.append(json_of(entry));
        out() << QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else {
        for (const DiaryEntry& entry : entries) out() << line_of(entry) << '\n';
    }
    out().flush();
    return 0;
}

// Writes the calendar to the file (through a temporary file, so a failed write leaves the old one)
// or, for "-", to standard output. Entries that could not be read are named, and make it fail.
int export_calendar(const IcsModule& ics, const StoreDir& store, const QString& target) {
    const IcsExport calendar = ics.export_calendar(store);
    const QByteArray text = QByteArray::fromStdString(calendar.text);
    if (target == QStringLiteral("-")) {
        out() << text;
        out().flush();
    } else {
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
            err() << "Daybrook could not write " << target << ": " << file.errorString() << '\n';
            return 1;
        }
    }
    for (const std::string& name : calendar.unreadable)
        err() << "Daybrook could not read the entry " << QString::fromStdString(name) << "; it is not in the calendar.\n";
    return calendar.unreadable.empty() ? 0 : 1;
}

// --export-ics FILE or --import-ics FILE, whichever was given, through the iCalendar module.
int calendar_file_command(const QCommandLineParser& parser, const QCommandLineOption& export_option,
                          const ImportRequest& import, const StoreDir& store, DayNumber today) {
    const std::variant<const IcsModule*, std::string> module = load_ics_module();
    if (const auto* why = std::get_if<std::string>(&module)) {
        err() << "Daybrook cannot read or write calendar files: " << QString::fromStdString(*why) << '\n';
        return 1;
    }
    const IcsModule& ics = *std::get<const IcsModule*>(module);
    if (parser.isSet(export_option)) return export_calendar(ics, store, parser.value(export_option));
    return import_calendar(ics, store, import, today);
}

// The number of days asked for, or nothing for a text that is not a sensible count.
std::optional<int> day_count(const QStringList& positional) {
    if (positional.isEmpty()) return default_days;
    bool number = false;
    const int days = positional.first().toInt(&number);
    if (!number || days < 1 || positional.size() > 1) return std::nullopt;
    return std::min(days, last_diary_day + 1);
}

}  // namespace

bool asks_for_terminal(std::span<const std::string_view> arguments) {
    if (arguments.empty()) return false;
    const std::string_view first = view_before(arguments.front(), "=");
    return std::find(long_options.begin(), long_options.end(), first) != long_options.end();
}

int run_terminal_command(int argc, char** argv, const std::filesystem::path& folder) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("daybrook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DAYBROOK_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Daybrook, a small diary. Without these options it opens its window; with -a SECONDS [SECONDS] "
        "it shows the week for that long."));
    const QCommandLineOption list(QStringLiteral("list"), QStringLiteral("Print the entries of DAYS days from today (7 unless given)."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print the entries as a JSON array."));
    const QCommandLineOption search(QStringLiteral("search"), QStringLiteral("Print every entry whose memo holds WORD."),
                                    QStringLiteral("WORD"));
    const QCommandLineOption case_sensitive(QStringLiteral("case-sensitive"), QStringLiteral("Let letter case count in --search."));
    const QCommandLineOption own_folder(QStringLiteral("own-folder"), QStringLiteral("Work in ~/.local/share/daybrook (first only)."));
    const QCommandLineOption export_ics_option(QStringLiteral("export-ics"), QStringLiteral("Write every entry to FILE (- for standard output) as iCalendar."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption import_ics_option(QStringLiteral("import-ics"), QStringLiteral("Add the events of the iCalendar FILE as entries."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption until(QStringLiteral("until"), QStringLiteral("With --import-ics: follow repeats without end up to DATE (dd/mm/yy; a year from today unless given)."),
                                   QStringLiteral("DATE"));
    const QCommandLineOption dry_run(QStringLiteral("dry-run"), QStringLiteral("With --import-ics: say what would be added, and write nothing."));
    const QCommandLineOption undo_import_option(QStringLiteral("undo-import"), QStringLiteral("Move the entries the last import added to the trash, unless they changed since."));
    parser.addOptions({list, json, search, case_sensitive, own_folder, export_ics_option, import_ics_option, until, dry_run,
                       undo_import_option});
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("DAYS"), QStringLiteral("With --list: how many days."), QStringLiteral("[DAYS]"));
    if (!parser.parse(QCoreApplication::arguments())) {
        err() << parser.errorText() << '\n';
        return 2;
    }
    if (parser.isSet(help)) {
        out() << parser.helpText();
        return 0;
    }
    if (parser.isSet(version)) {
        out() << "daybrook " << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }
    const SystemClock clock;
    const DayNumber today = today_from(clock);
    if (parser.isSet(undo_import_option)) return undo_last_import(folder);
    if (parser.isSet(export_ics_option) || parser.isSet(import_ics_option)) {
        ImportRequest import{.source = parser.value(import_ics_option), .dry_run = parser.isSet(dry_run)};
        if (parser.isSet(until)) {
            QString why;
            import.until = until_day(parser.value(until), today, why);
            if (!import.until) {
                err() << "--until: " << why << '\n';
                return 2;
            }
        }
        return calendar_file_command(parser, export_ics_option, import, folder, today);
    }
    if (parser.isSet(search)) {
        const std::optional<std::string> word = to_code_page(parser.value(search));
        if (!word) {
            err() << "The word holds a character that no entry can hold.\n";
            return 2;
        }
        return print(entries_holding(folder, *word, parser.isSet(case_sensitive)), parser.isSet(json));
    }
    const std::optional<int> days = day_count(parser.positionalArguments());
    if (!days) {
        err() << "DAYS must be a number of days, 1 or more.\n";
        return 2;
    }
    return print(entries_of_days(folder, today, *days), parser.isSet(json));
}

}  // namespace daybrook
