#include "store/scratch_files.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "store/record_io.h"

namespace daybrook {
namespace {

// "%03d" keeps every position of a deletion list to three digits.
constexpr int last_position = 999;

bool valid_position(int position) noexcept {
    return position >= 0 && position <= last_position;
}

}  // namespace

std::string scratch_file_name(int position) {
    char name[32];
    std::snprintf(name, sizeof name, "TEMPDAT.%03d", position);
    return name;
}

bool is_scratch_file_name(std::string_view name) noexcept {
    constexpr std::string_view prefix = "TEMPDAT.";
    return name.size() == prefix.size() + 3 && name.starts_with(prefix) &&
           std::all_of(name.begin() + prefix.size(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The copy keeps the record's own `file` field: it names the entry file the list line stands for.
StoreError write_scratch(const StoreDir& dir, int position, const EntryRecord& record) {
    if (!valid_position(position)) return StoreError::bad_name;
    return store_io::replace_record(dir, scratch_file_name(position), encode(record));
}

std::optional<EntryRecord> read_scratch(const StoreDir& dir, int position) {
    if (!valid_position(position)) return std::nullopt;
    return store_io::read_record(dir, scratch_file_name(position));
}

std::vector<std::string> remove_scratch_files(const StoreDir& dir) {
    std::vector<std::string> removed;
    for (std::string& name : store_io::list_matching(dir, is_scratch_file_name)) {
        const auto path = dir / name;
        if (::unlink(path.c_str()) == 0) removed.push_back(std::move(name));
    }
    return removed;
}

}  // namespace daybrook
