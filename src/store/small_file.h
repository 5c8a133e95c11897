// Reading a small file whole, without ever blocking or throwing: only a regular file is read.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace daybrook {

struct SmallFileRead {
    std::optional<std::string> bytes;  // nothing when the file could not be read
    struct stat status {};             // of the file read, taken before its bytes
    int error = 0;                     // errno of the failure; ENOENT for a missing file
};

[[nodiscard]] SmallFileRead read_small_file(const std::filesystem::path& path, std::size_t largest);

}  // namespace daybrook
