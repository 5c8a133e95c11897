#include "ics/import_undo.h"

#include <cstring>
#include <optional>
#include <sstream>
#include <system_error>

#include "calendar/fingerprint.h"
#include "store/file_writes.h"
#include "store/small_file.h"

namespace daybrook {
namespace {

constexpr std::string_view record_heading = "daybrook last import 1";
constexpr std::string_view under_way_heading = "daybrook import under way 1";
// Far more than the record of the largest import takes.
constexpr std::size_t largest_record = std::size_t{64} << 20;

std::optional<RecordBytes> bytes_of(std::string_view hex) {
    RecordBytes bytes{};
    if (!read_hex(hex, bytes)) return std::nullopt;
    return bytes;
}

std::string record_path(const StoreDir& dir) { return (dir / last_import_record).string(); }

struct ImportRecord {
    ImportStage stage = ImportStage::finished;
    std::vector<AddedFile> files;
};

// The record's files, or nothing when a line is not one the import writes.
std::optional<ImportRecord> parse_record(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    ImportRecord record;
    if (!std::getline(lines, line) || (line != record_heading && line != under_way_heading)) return std::nullopt;
    if (line == under_way_heading) record.stage = ImportStage::under_way;
    while (std::getline(lines, line)) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos || !is_entry_file_name(std::string_view(line).substr(0, space)))
            return std::nullopt;
        const std::optional<RecordBytes> bytes = bytes_of(std::string_view(line).substr(space + 1));
        if (!bytes) return std::nullopt;
        record.files.push_back({line.substr(0, space), *bytes});
    }
    return record;
}

enum class FileState { as_written, changed, gone, unreadable };

// A file that is too large, or is no longer a regular file, holds something else than the
// import wrote; one that cannot be read now (no permission, an I/O error) may still hold it.
FileState file_state_now(const StoreDir& dir, const AddedFile& file) {
    const SmallFileRead held = read_small_file(dir / file.name, file.bytes.size());
    switch (held.error) {
        case 0: break;
        case ENOENT: return FileState::gone;
        case EFBIG:
        case EISDIR:
        case ENODEV: return FileState::changed;
        default: return FileState::unreadable;
    }
    const bool same = held.bytes.size() == file.bytes.size() &&
                      std::memcmp(held.bytes.data(), file.bytes.data(), held.bytes.size()) == 0;
    return same ? FileState::as_written : FileState::changed;
}

// Removes the record's files that still hold what the import wrote, and tells of the others; the
// files to keep in the record for another try.
std::vector<AddedFile> take_back(const StoreDir& dir, const ImportRecord& record, const EntryDisposal& dispose,
                                 UndoReport& report) {
    std::vector<AddedFile> kept;
    for (const AddedFile& file : record.files) {
        switch (file_state_now(dir, file)) {
            case FileState::gone:
                if (record.stage == ImportStage::under_way) ++report.not_written;
                else report.gone.push_back(file.name);
                break;
            case FileState::changed: report.changed.push_back(file.name); break;
            case FileState::unreadable:
                report.failed.push_back(file.name);
                kept.push_back(file);
                break;
            case FileState::as_written:
                if (remove_entry_file(dir, file.name, dispose) == StoreError::none) {
                    report.removed.push_back(file.name);
                } else {
                    report.failed.push_back(file.name);
                    kept.push_back(file);
                }
        }
    }
    return kept;
}

}  // namespace

bool save_import_record(const StoreDir& dir, std::span<const AddedFile> added, ImportStage stage) {
    std::string text(stage == ImportStage::finished ? record_heading : under_way_heading);
    text += '\n';
    for (const AddedFile& file : added) text += file.name + ' ' + hex_text(file.bytes) + '\n';
    const std::string path = record_path(dir);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    return replace_private_file(path, {bytes, text.size()});
}

UndoReport undo_import(const StoreDir& dir, const EntryDisposal& dispose) {
    UndoReport report;
    const SmallFileRead record = read_small_file(record_path(dir), largest_record);
    if (!record.read()) {
        if (record.missing()) report.nothing_to_undo = true;
        else report.error = "the record of the last import cannot be read: " + read_problem(record.error);
        return report;
    }
    const std::optional<ImportRecord> parsed = parse_record(record.bytes);
    if (!parsed) {
        report.error = "the record of the last import is damaged, so nothing was removed";
        return report;
    }
    const std::vector<AddedFile> kept = take_back(dir, *parsed, dispose, report);
    std::error_code error;
    if (kept.empty()) std::filesystem::remove(record_path(dir), error);
    const bool recorded = kept.empty() ? !error : save_import_record(dir, kept, parsed->stage);
    if (!recorded) report.error = "the record of the last import could not be updated";
    return report;
}

}  // namespace daybrook
