#include "store/scratch_files.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "store/record_io.h"

namespace daybrook {
namespace {

bool valid_position(int position) noexcept { return position >= 0 && position < scratch_positions; }

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

StoreError write_scratch(const StoreDir& dir, int position, const RecordBytes& bytes) {
    if (!valid_position(position)) return StoreError::bad_name;
    return store_io::overwrite_record(dir, scratch_file_name(position), bytes);
}

std::vector<std::string> remove_scratch_list(const StoreDir& dir, int count) {
    std::vector<std::string> left;
    for (int position = 0; position < std::min(count, scratch_positions); ++position) {
        const std::string name = scratch_file_name(position);
        if (::unlink((dir / name).c_str()) != 0 && errno != ENOENT) left.push_back(name);
    }
    return left;
}

}  // namespace daybrook
