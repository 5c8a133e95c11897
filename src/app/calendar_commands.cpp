#include "app/calendar_commands.h"

#include <QFile>
#include <QSaveFile>

#include <optional>
#include <string>
#include <variant>

#include "app/ics_loader.h"
#include "store/retention.h"
#include "store/store_lock.h"

namespace daybrook {
namespace {

// Far more than a calendar of the fifty thousand entries a diary can hold.
constexpr qint64 largest_calendar = qint64{64} << 20;

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
    QByteArray text = file.read(largest_calendar + 1);
    if (text.size() > largest_calendar) {
        run.err << "Daybrook added nothing from " << source << ": it is larger than any calendar of diary entries\n";
        return std::nullopt;
    }
    return text;
}

}  // namespace

TerminalStatus export_calendar_command(const QCommandLineParser& parser, const TerminalRun& run) {
    const IcsModule* ics = ics_module(run);
    if (ics == nullptr) return TerminalStatus::failed;
    const IcsExport calendar = ics->export_calendar(run.folder);
    const QByteArray text = QByteArray::fromStdString(calendar.text);
    const QString target = parser.value(QStringLiteral("export-ics"));
    if (target == standard_stream) {
        run.out << text;
    } else {
        // The diary is private, and so is a new calendar made of it; a file that is there keeps
        // the permissions its owner gave it.
        const bool new_file = !QFile::exists(target);
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) ||
            (new_file && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) ||
            file.write(text) != text.size() || !file.commit()) {
            run.err << "Daybrook could not write " << target << ": " << file.errorString() << '\n';
            return TerminalStatus::failed;
        }
    }
    for (const std::string& name : calendar.unreadable)
        run.err << "Daybrook could not read the entry " << QString::fromStdString(name) << "; it is not in the calendar.\n";
    return calendar.unreadable.empty() ? TerminalStatus::done : TerminalStatus::failed;
}

TerminalStatus import_calendar_command(const QCommandLineParser& parser, const TerminalRun& run) {
    const IcsModule* ics = ics_module(run);
    if (ics == nullptr) return TerminalStatus::failed;
    const QString source = parser.value(QStringLiteral("import-ics"));
    const std::optional<QByteArray> text = calendar_text(source, run);
    if (!text) return TerminalStatus::failed;
    const std::optional<StoreLock> lock = StoreLock::acquire(run.folder, default_lock_patience);
    if (!lock) {
        run.err << "Daybrook added nothing: another copy of the diary holds its folder\n";
        return TerminalStatus::failed;
    }
    const ImportReport report = ics->import_calendar(
        run.folder, std::string_view(text->constData(), std::size_t(text->size())), run.today, ImportLimits{});
    if (!report.error.empty()) {
        run.err << "Daybrook added nothing from " << source << ": " << QString::fromStdString(report.error) << '\n';
        return TerminalStatus::failed;
    }
    run.out << "Added " << report.added.size() << (report.added.size() == 1 ? " entry" : " entries") << ", skipped "
            << report.skipped.size() << ".\n";
    for (const SkippedItem& item : report.skipped) run.out << "  skipped " << QString::fromStdString(describe(item)) << '\n';
    return TerminalStatus::done;
}

}  // namespace daybrook
