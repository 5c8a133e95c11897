#include "app/entry_lines.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "calendar/day_names.h"
#include "framework/code_page.h"

namespace daybrook {
namespace {

// The memo for a terminal: a control character from an entry file would reach it as a command
// (an escape sequence, a carriage return over the line, a line break splitting the entry), so
// each shows as a space. JSON escapes them instead.
QString printable_memo(const EntryRecord& record) {
    QString memo = from_code_page(record.text);
    for (QChar& c : memo)
        if (c.category() == QChar::Other_Control) c = QChar(' ');
    return memo;
}

QString line_of(const DiaryEntry& entry) {
    const CalendarDate date = day_to_calendar(entry.day);
    return QStringLiteral("%1 %2 %3%4 %5")
        .arg(QString::fromLatin1(day_abbrevs[std::size_t(date.weekday)].data(), 3),
             QString::fromStdString(day_to_date(entry.day)), QChar(entry.record.red != 0 ? '!' : ' '),
             QChar(entry.record.yearly != EntryRecord::not_yearly ? '*' : ' '), printable_memo(entry.record));
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

}  // namespace

EntryFormat format_asked(const QCommandLineParser& parser) {
    return parser.isSet(QStringLiteral("json")) ? EntryFormat::json : EntryFormat::lines;
}

void print_entries(QTextStream& out, const std::vector<DiaryEntry>& entries, EntryFormat format) {
    if (format == EntryFormat::json) {
        QJsonArray array;
        for (const DiaryEntry& entry : entries) array.append(json_of(entry));
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else {
        for (const DiaryEntry& entry : entries) out << line_of(entry) << '\n';
    }
}

}  // namespace daybrook
