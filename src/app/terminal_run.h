// What every terminal command works with, and how it ends. Commands print to the streams they are
// given and take the diary's folder and today as values, so that a test runs them on a folder of
// its own with a clock of its own.
#pragma once

#include <QCommandLineParser>
#include <QTextStream>

#include <filesystem>

#include "calendar/day_number.h"
#include "store/entry_files.h"

namespace daybrook {

struct TerminalRun {
    StoreDir folder;                 // the diary's folder
    std::filesystem::path settings;  // the settings file, which holds how long old entries are kept
    DayNumber today = 0;
    QTextStream& out;
    QTextStream& err;
};

// The exit codes.
enum class TerminalStatus : int {
    done = 0,
    failed = 1,   // it could not do it, or the diary refused it, and said why
    refused = 2,  // a command line it cannot take
};

// Whether the diary's folder can be read, after saying why not where it cannot: the commands that
// print entries would otherwise print none, as for an empty diary.
bool diary_readable(const TerminalRun& run);

// One command: what it does with the parsed command line.
using TerminalCommand = TerminalStatus (*)(const QCommandLineParser& parser, const TerminalRun& run);

}  // namespace daybrook
