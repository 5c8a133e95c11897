// What the benchmarks that time the disk's flushes share: folders on the disk the benchmarks are
// built on (/tmp may be in memory, where a flush costs nothing), a fresh one for every run, and
// the one flush a bare writer of many files needs before it may say they are safe.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <benchmark/benchmark.h>

#include "store/entry_files.h"

namespace daybrook::bench {

inline constexpr const char* disk_pattern = DAYBROOK_BENCH_DISK "/daybrook-disk-XXXXXX";

// The folders that runs set aside, removed when the program ends. Removing a run's 10,000 files
// before the next run would slow that run's every new file on a file system without a journal
// (ext4 then passes over the inodes freed in the last minute to find a free one), and the bare
// loop's alike, which hides the difference between them.
class SpentFolders {
public:
    SpentFolders() = default;
    SpentFolders(const SpentFolders&) = delete;
    SpentFolders& operator=(const SpentFolders&) = delete;
    ~SpentFolders() {
        std::error_code ignored;
        for (const std::filesystem::path& folder : m_folders) std::filesystem::remove_all(folder, ignored);
    }
    // Moves the folder aside and makes an empty one in its place.
    bool set_aside(const StoreDir& dir) {
        std::filesystem::path spent = dir;
        spent += ".spent-" + std::to_string(m_folders.size());
        std::error_code error;
        std::filesystem::rename(dir, spent, error);
        if (error) return false;
        m_folders.push_back(spent);
        return std::filesystem::create_directory(dir, error);
    }

private:
    std::vector<std::filesystem::path> m_folders;
};

// Starts a run from an empty folder, outside the timing.
inline void empty_folder(benchmark::State& bench, const StoreDir& dir) {
    static SpentFolders spent;
    bench.PauseTiming();
    if (!spent.set_aside(dir)) bench.SkipWithError("cannot set the folder of the last run aside");
    bench.ResumeTiming();
}

// Puts everything written in the folder's file system on disk: one flush for all files.
inline bool flush_file_system(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::syncfs(fd) == 0;
    if (fd >= 0) ::close(fd);
    return flushed;
}

}  // namespace daybrook::bench
