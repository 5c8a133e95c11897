// Puts an entry file in place as the diary writes one, for tests that need an entry in a
// particular slot (the diary itself always takes the lowest free one).
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "store/entry_record.h"

namespace daybrook::testing {

inline void put_entry(const std::filesystem::path& dir, const std::string& name, EntryRecord record) {
    record.file = name;
    const RecordBytes bytes = encode(record);
    std::ofstream(dir / name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace daybrook::testing
