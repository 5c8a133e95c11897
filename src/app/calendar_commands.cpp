#include "app/calendar_commands.h"

#include <QFile>
#include <QSaveFile>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "app/altered_lines.h"
#include "app/ics_loader.h"
#include "app/store_lock_command.h"
#include "calendar/date_check.h"
#include "framework/trash.h"
#include "ics/calendar_plan.h"
#include "ics/import_undo.h"
#include "store/file_writes.h"

namespace daybrook {
namespace {

const QString standard_stream = QStringLiteral("-");

// The iCalendar module, or nothing after saying why it cannot be used.
const IcsModule* ics_module(const TerminalRun& run) {
    const std::variant<const IcsModule*, std::string> module = load_ics_module();
    if (const auto* why = std::get_if<std::string>(&module)) {
        run.err << "Daybrook cannot read or write calendar files: " << QString::fromStdString(*why) << '\n';
        return nullptr;
    }
    return std::get<const IcsModule*>(module);
}

// The text of the file, or nothing after saying why it could not be read.
std::optional<QByteArray> calendar_text(const QString& source, const TerminalRun& run) {
    QFile file(source);
    const bool opened = source == standard_stream ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened) {
        run.err << "Daybrook could not open " << source << ": " << file.errorString() << '\n';
        return std::nullopt;
    }
    // A pipe gives what has been written so far at each read: read on to its end.
    QByteArray text;
    for (QByteArray chunk; text.size() <= largest_calendar_bytes; text += chunk) {
        chunk = file.read(largest_calendar_bytes + 1 - text.size());
        if (chunk.isEmpty()) break;
    }
    if (file.error() != QFileDevice::NoError) {
        run.err << "Daybrook could not read " << source << ": " << file.errorString() << '\n';
        return std::nullopt;
    }
    if (text.size() > largest_calendar_bytes) {
        run.err << "Daybrook added nothing from " << source << ": it is larger than any calendar of diary entries\n";
        return std::nullopt;
    }
    return text;
}

QString entries(std::size_t count) {
    return QString::number(count) + (count == 1 ? QStringLiteral(" entry") : QStringLiteral(" entries"));
}

// Writes the calendar through a temporary file beside the target, flushed to disk before it takes
// the target's name; on failure, the reason, with the earlier file as it was. The diary is
// private, and so is a new calendar made of it; a file that is there keeps the permissions its
// owner gave it.
std::optional<QString> save_calendar(const QString& target, const QByteArray& text) {
    const bool new_file = !QFile::exists(target);
    QSaveFile file(target);  // what is not committed is removed with it
    if (!file.open(QIODevice::WriteOnly) ||
        (new_file && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)))
        return file.errorString();
    // Written past QSaveFile's buffer: its commit takes a failed last flush of the buffer, and a
    // failed flush to disk, for success, and would put an empty or cut file in the earlier one's
    // place; its own reason for a failed write is "Unknown error".
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.constData());
    if (!write_all(file.handle(), std::span(bytes, std::size_t(text.size()))) || ::fsync(file.handle()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

// The day of --until's "dd/mm/yy", from today on, or nothing after saying why it is none.
std::optional<DayNumber> until_day(const QString& text, const TerminalRun& run) {
    const DateCheck check =
        check_date(PastDates::refused, text.toStdString(), run.today, {.old_entries_kept = true, .oldest_day = 0});
    if (check.error == DateError::none) return check.day_number;
    const std::string_view why = date_message(check.error);
    run.err << "--until " << text << ": " << QString::fromLatin1(why.data(), qsizetype(why.size())) << '\n';
    return std::nullopt;
}

void print_report(const ImportReport& report, bool dry_run, bool verbose, const TerminalRun& run) {
    run.out << (dry_run ? "Would add " : "Added ") << entries(report.added.size()) << (dry_run ? ", skip " : ", skipped ")
            << report.skipped.size() << (dry_run ? " (a dry run: nothing was written).\n" : ".\n");
    std::size_t there = 0;
    for (const SkippedItem& item : report.skipped) {
        const bool already = item.reason == SkipReason::already_there;
        there += already ? 1 : 0;
        if (!already || verbose) run.out << "  skipped " << QString::fromStdString(describe(item)) << '\n';
    }
    if (there > 0 && !verbose)
        run.out << "  " << there << (there == 1 ? " event is" : " events are") << " in the diary already\n";
    for (const OpenRepeat& repeat : report.open_repeats)
        run.out << "  repeats " << QString::fromStdString(describe(repeat)) << '\n';
    print_altered(report.altered, verbose, run);
    for (const std::string& note : report.notes) run.out << "  note: " << QString::fromStdString(note) << '\n';
}

void print_undo(const UndoReport& undo, const std::string& refusal, const TerminalRun& run) {
    run.out << "Removed " << entries(undo.removed.size()) << " of the last import to the trash.\n";
    for (const std::string& name : undo.changed)
        run.out << "  left " << QString::fromStdString(name) << ": it changed since the import\n";
    for (const std::string& name : undo.gone) run.out << "  " << QString::fromStdString(name) << " was gone already\n";
    if (undo.not_written > 0)
        run.out << "  the import had been stopped before it wrote " << entries(undo.not_written) << '\n';
    for (const std::string& name : undo.failed)
        run.err << "Daybrook could not remove " << QString::fromStdString(name) << "; undo again to retry.\n";
    if (!refusal.empty()) run.err << "Daybrook: the trash cannot take every entry: " << QString::fromStdString(refusal) << '\n';
    if (!undo.error.empty()) run.err << "Daybrook: " << QString::fromStdString(undo.error) << '\n';
}

}  // namespace

TerminalStatus export_calendar_command(const QCommandLineParser& parser, const TerminalRun& run) {
    const IcsModule* ics = ics_module(run);
    if (ics == nullptr || !diary_readable(run)) return TerminalStatus::failed;
    const IcsExport calendar = ics->export_calendar(run.folder);
    const QByteArray text = QByteArray::fromStdString(calendar.text);
    const QString target = parser.value(QStringLiteral("export-ics"));
    if (target == standard_stream) {
        run.out << text;
    } else if (const std::optional<QString> problem = save_calendar(target, text)) {
        run.err << "Daybrook could not write " << target << ": " << *problem << '\n';
        return TerminalStatus::failed;
    }
    for (const std::string& name : calendar.unreadable)
        run.err << "Daybrook could not read the entry " << QString::fromStdString(name) << "; it is not in the calendar.\n";
    return calendar.unreadable.empty() ? TerminalStatus::done : TerminalStatus::failed;
}

TerminalStatus import_calendar_command(const QCommandLineParser& parser, const TerminalRun& run) {
    std::optional<DayNumber> until;
    if (parser.isSet(QStringLiteral("until"))) {
        until = until_day(parser.value(QStringLiteral("until")), run);
        if (!until) return TerminalStatus::refused;
    }
    const bool dry_run = parser.isSet(QStringLiteral("dry-run"));
    const IcsModule* ics = ics_module(run);
    if (ics == nullptr) return TerminalStatus::failed;
    const QString source = parser.value(QStringLiteral("import-ics"));
    const std::optional<QByteArray> text = calendar_text(source, run);
    if (!text) return TerminalStatus::failed;
    // A dry run writes nothing, not even the lock file, so it needs no lock.
    std::optional<StoreLock> lock;
    if (!dry_run) {
        lock = lock_store(run, "added nothing");
        if (!lock) return TerminalStatus::failed;
    }
    const ImportReport report =
        ics->import_calendar(run.folder, std::string_view(text->constData(), std::size_t(text->size())), run.today,
                             ImportLimits{.until = until}, dry_run ? ImportMode::trial : ImportMode::write);
    if (!report.error.empty()) {
        run.err << "Daybrook added nothing from " << source << ": " << QString::fromStdString(report.error) << '\n';
        return TerminalStatus::failed;
    }
    print_report(report, dry_run, parser.isSet(QStringLiteral("verbose")), run);
    if (!report.write_error.empty())
        run.err << "Daybrook could not add every entry: " << QString::fromStdString(report.write_error) << '\n';
    return report.succeeded() ? TerminalStatus::done : TerminalStatus::failed;
}

TerminalStatus undo_import_command(const QCommandLineParser&, const TerminalRun& run) {
    const std::optional<StoreLock> lock = lock_store(run, "removed nothing");
    if (!lock) return TerminalStatus::failed;
    std::string refusal;  // why the trash did not take the first entry it refused
    const UndoReport undo = undo_import(run.folder, [&refusal](const std::string& path) {
        const TrashResult result = move_to_trash(path);
        if (refusal.empty()) refusal = result.refusal;
        return result.taken();
    });
    if (undo.nothing_to_undo) {
        run.out << "There is no import to undo.\n";
        return TerminalStatus::done;
    }
    if (undo.removed.empty() && (!refusal.empty() || (!undo.error.empty() && undo.failed.empty()))) {
        const std::string& why = refusal.empty() ? undo.error : "the trash cannot take its entries: " + refusal;
        run.err << "Daybrook removed nothing: " << QString::fromStdString(why) << '\n';
        return TerminalStatus::failed;
    }
    print_undo(undo, refusal, run);
    return undo.succeeded() ? TerminalStatus::done : TerminalStatus::failed;
}

}  // namespace daybrook
