#include "app/calendar_import_command.h"

#include <QFile>
#include <QTextStream>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "calendar/date_check.h"
#include "framework/trash.h"
#include "interchange/import_undo.h"
#include "store/retention.h"
#include "store/store_lock.h"

namespace daybrook {
namespace {

// Far more than a calendar of the fifty thousand entries a diary can hold.
constexpr qint64 largest_calendar = qint64{64} << 20;

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

QString entries(std::size_t count) {
    return QString::number(count) + (count == 1 ? QStringLiteral(" entry") : QStringLiteral(" entries"));
}

// The store's lock, or nothing after saying why it could not be had: a folder the user cannot
// write in is named as such, not taken for another copy of the diary.
std::optional<StoreLock> lock_store(const StoreDir& store, const char* nothing_done) {
    std::optional<StoreLock> lock = StoreLock::acquire(store, default_lock_patience);
    if (lock) return lock;
    if (::access(store.c_str(), W_OK) != 0)
        err() << "Daybrook " << nothing_done << ": it cannot write in the diary folder " << QString::fromStdString(store.string())
              << " (" << std::strerror(errno) << ")\n";
    else
        err() << "Daybrook " << nothing_done << ": another copy of the diary holds its folder\n";
    return std::nullopt;
}

void print_report(const ImportReport& report, bool dry_run) {
    out() << (dry_run ? "Would add " : "Added ") << entries(report.added.size()) << (dry_run ? ", skip " : ", skipped ")
          << report.skipped.size() << (dry_run ? " (a dry run: nothing was written).\n" : ".\n");
    for (const SkippedItem& item : report.skipped) out() << "  skipped " << QString::fromStdString(describe(item)) << '\n';
    for (const OpenRepeat& repeat : report.open_repeats)
        out() << "  repeats " << QString::fromStdString(describe(repeat)) << '\n';
    for (const std::string& note : report.notes) out() << "  note: " << QString::fromStdString(note) << '\n';
    out().flush();
}

}  // namespace

std::optional<DayNumber> until_day(const QString& text, DayNumber today, QString& why) {
    const std::string date = text.toStdString();
    const DateCheck check = check_date(PastDates::refused, date, today, {.old_entries_kept = true, .oldest_day = 0});
    if (check.error != DateError::none) {
        why = QString::fromLatin1(date_message(check.error).data(), qsizetype(date_message(check.error).size()));
        return std::nullopt;
    }
    return date_to_day(date);
}

int import_calendar(const IcsModule& ics, const StoreDir& store, const ImportRequest& request, DayNumber today) {
    QFile file(request.source);
    const bool from_input = request.source == QStringLiteral("-");
    if (!(from_input ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly))) {
        err() << "Daybrook could not open " << request.source << ": " << file.errorString() << '\n';
        return 1;
    }
    const QByteArray text = file.read(largest_calendar + 1);
    if (text.size() > largest_calendar) {
        err() << "Daybrook added nothing from " << request.source << ": it is larger than any calendar of diary entries\n";
        return 1;
    }
    // A dry run writes nothing, not even the lock file, so it needs no lock.
    std::optional<StoreLock> lock;
    if (!request.dry_run && !(lock = lock_store(store, "added nothing"))) return 1;
    const ImportReport report = ics.import_calendar(store, std::string_view(text.constData(), std::size_t(text.size())),
                                                    today, ImportLimits{.until = request.until},
                                                    request.dry_run ? ImportMode::trial : ImportMode::write);
    if (!report.error.empty()) {
        err() << "Daybrook added nothing from " << request.source << ": " << QString::fromStdString(report.error) << '\n';
        return 1;
    }
    print_report(report, request.dry_run);
    int status = report.succeeded() ? 0 : 1;
    if (!report.write_error.empty())
        err() << "Daybrook could not add every entry: " << QString::fromStdString(report.write_error) << '\n';
    if (!request.dry_run && !report.added.empty() && !save_import_record(store, report.added)) {
        err() << "Daybrook cannot undo this import: its record could not be written in the diary folder\n";
        status = 1;
    }
    return status;
}

int undo_last_import(const StoreDir& store) {
    const std::optional<StoreLock> lock = lock_store(store, "removed nothing");
    if (!lock) return 1;
    const UndoReport undo = undo_import(store, move_to_trash);
    if (undo.nothing_to_undo) {
        out() << "There is no import to undo.\n";
        out().flush();
        return 0;
    }
    if (!undo.error.empty() && undo.removed.empty() && undo.failed.empty()) {
        err() << "Daybrook removed nothing: " << QString::fromStdString(undo.error) << '\n';
        return 1;
    }
    out() << "Removed " << entries(undo.removed.size()) << " of the last import to the trash.\n";
    for (const std::string& name : undo.changed)
        out() << "  left " << QString::fromStdString(name) << ": it changed since the import\n";
    for (const std::string& name : undo.gone)
        out() << "  " << QString::fromStdString(name) << " was gone already\n";
    out().flush();
    for (const std::string& name : undo.failed)
        err() << "Daybrook could not remove " << QString::fromStdString(name) << "; undo again to retry.\n";
    if (!undo.error.empty()) err() << "Daybrook: " << QString::fromStdString(undo.error) << '\n';
    return undo.succeeded() ? 0 : 1;
}

}  // namespace daybrook
