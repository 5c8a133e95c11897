// Entry files for the store's tests, written and read as they are on disk.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/entry_files.h"
#include "store/memo.h"
#include "support/temp_dir.h"

namespace daybrook::testing {

// Writes the record as it is, `file` field included, as another program might have.
inline void put(const std::filesystem::path& dir, const std::string& name, const EntryRecord& record) {
    const RecordBytes bytes = encode(record);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline EntryRecord get(const std::filesystem::path& dir, const std::string& name) {
    return read_entry(dir, name).value_or(Memo("<missing>"));
}

// The names in the store folder but the lock file that every purge leaves.
inline std::vector<std::string> store_names(const TempDir& dir) {
    std::vector<std::string> names = dir.names();
    std::erase(names, ".daybrook.lock");
    std::erase(names, ".daybrook-purged");
    return names;
}

}  // namespace daybrook::testing
