#include "ics/import_undo.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <system_error>

#include "store/file_writes.h"

namespace daybrook {
namespace {

constexpr std::string_view record_heading = "daybrook last import 1";
constexpr char hex_digits[] = "0123456789abcdef";

std::string hex_of(const RecordBytes& bytes) {
    std::string text;
    for (unsigned char byte : bytes) {
        text += hex_digits[byte >> 4];
        text += hex_digits[byte & 15];
    }
    return text;
}

std::optional<RecordBytes> bytes_of(std::string_view hex) {
    if (hex.size() != 2 * EntryRecord::size) return std::nullopt;
    RecordBytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char* high = std::strchr(hex_digits, hex[2 * i]);
        const char* low = std::strchr(hex_digits, hex[2 * i + 1]);
        if (!high || !low || !*high || !*low) return std::nullopt;
        bytes[i] = static_cast<unsigned char>((high - hex_digits) << 4 | (low - hex_digits));
    }
    return bytes;
}

std::string record_path(const StoreDir& dir) { return (dir / last_import_record).string(); }

// The record's files, or nothing when a line is not one the import writes.
std::optional<std::vector<AddedFile>> parse_record(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != record_heading) return std::nullopt;
    std::vector<AddedFile> files;
    while (std::getline(lines, line)) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos || !is_entry_file_name(std::string_view(line).substr(0, space)))
            return std::nullopt;
        const std::optional<RecordBytes> bytes = bytes_of(std::string_view(line).substr(space + 1));
        if (!bytes) return std::nullopt;
        files.push_back({line.substr(0, space), *bytes});
    }
    return files;
}

enum class FileState { as_written, changed, gone };

FileState state_of(const StoreDir& dir, const AddedFile& file) {
    std::ifstream in(dir / file.name, std::ios::binary);
    if (!in) return errno == ENOENT ? FileState::gone : FileState::changed;
    const std::string held((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const bool same = held.size() == file.bytes.size() && std::memcmp(held.data(), file.bytes.data(), held.size()) == 0;
    return same ? FileState::as_written : FileState::changed;
}

}  // namespace

bool save_import_record(const StoreDir& dir, const std::vector<AddedFile>& added) {
    std::string text(record_heading);
    text += '\n';
    for (const AddedFile& file : added) text += file.name + ' ' + hex_of(file.bytes) + '\n';
    const std::string path = record_path(dir);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    if (!replace_file(path, {bytes, text.size()})) return false;
    std::error_code error;  // a record made readable by others since goes back to private
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, error);
    return !error;
}

UndoReport undo_import(const StoreDir& dir, const EntryDisposal& dispose) {
    UndoReport report;
    std::ifstream in(record_path(dir), std::ios::binary);
    if (!in) {
        if (errno == ENOENT) report.nothing_to_undo = true;
        else report.error = "the record of the last import cannot be read: " + std::string(std::strerror(errno));
        return report;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::optional<std::vector<AddedFile>> files = parse_record(text);
    if (!files) {
        report.error = "the record of the last import is damaged, so nothing was removed";
        return report;
    }
    std::vector<AddedFile> kept;
    for (const AddedFile& file : *files) {
        switch (state_of(dir, file)) {
            case FileState::gone: report.gone.push_back(file.name); break;
            case FileState::changed: report.changed.push_back(file.name); break;
            case FileState::as_written:
                if (remove_entry_file(dir, file.name, dispose) == StoreError::none) {
                    report.removed.push_back(file.name);
                } else {
                    report.failed.push_back(file.name);
                    kept.push_back(file);
                }
        }
    }
    std::error_code error;
    if (kept.empty()) std::filesystem::remove(record_path(dir), error);
    const bool recorded = kept.empty() ? !error : save_import_record(dir, kept);
    if (!recorded) report.error = "the record of the last import could not be updated";
    return report;
}

}  // namespace daybrook
