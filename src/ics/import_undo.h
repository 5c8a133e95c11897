// Taking back the last import of a calendar file. The import's record, a private file in the
// diary folder that no entry is ever named like, lists each entry file the import added with the
// bytes it wrote; the undo removes only files that still hold exactly those bytes, so an entry
// the user changed since, or one that took the place of a removed one, is never taken.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ics/import_report.h"
#include "store/entry_files.h"

namespace daybrook {

inline constexpr std::string_view last_import_record = ".daybrook-last-import";

// An import writes its record before its entries take their names, saying it is under way, and
// again once it is done, saying it finished: a file that a record under way names and that is not
// there was never written, while one gone from a finished import was deleted since.
enum class ImportStage { under_way, finished };

// Replaces the record of the last import by one of these files, written whole (temporary file
// and rename) and private. False when it could not be written (errno tells why).
[[nodiscard]] bool save_import_record(const StoreDir& dir, std::span<const AddedFile> added,
                                      ImportStage stage = ImportStage::finished);

struct [[nodiscard]] UndoReport {
    std::string error;                 // why nothing was undone; empty otherwise
    bool nothing_to_undo = false;      // there is no record of an import
    std::vector<std::string> removed;  // entry files taken away
    std::vector<std::string> changed;  // left, since they no longer hold what the import wrote
    std::vector<std::string> gone;     // no longer there
    std::size_t not_written = 0;       // of an import stopped before it wrote them all
    std::vector<std::string> failed;   // could not be removed, or not read to tell

    bool succeeded() const { return error.empty() && failed.empty(); }
};

// Removes, through `dispose`, the entry files of the last import that still hold the bytes it
// wrote (of an import that was stopped, those it wrote before it was), and then the record, so that a second undo finds nothing to undo. Files that could not
// be removed, or not read to compare (no permission, say), stay in the record for another try.
// A record that cannot be read or is damaged leaves everything as it is, with `error` set.
UndoReport undo_import(const StoreDir& dir, const EntryDisposal& dispose);

}  // namespace daybrook
