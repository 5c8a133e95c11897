// How the terminal commands print entries: one line each ("Mon 07/12/26 !* Dentist", the marks
// for a red-letter and for a yearly entry), or a JSON array for other programs to read.
#pragma once

#include <QCommandLineParser>
#include <QTextStream>

#include <vector>

#include "diary/entry_listing.h"

namespace daybrook {

enum class EntryFormat { lines, json };

// The format the command line asks for: JSON with --json.
EntryFormat format_asked(const QCommandLineParser& parser);

void print_entries(QTextStream& out, const std::vector<DiaryEntry>& entries, EntryFormat format);

}  // namespace daybrook
