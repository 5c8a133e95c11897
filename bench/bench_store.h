// What the benchmarks share: temporary stores filled once, entry files written without the
// store's flushing (the fixtures are thrown away, and flushing 100,000 files would take minutes),
// and the bare file loops that the diary's code is compared with.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "store/entry_record.h"

namespace daybrook::bench {

// A fresh directory under /tmp, filled once and removed with everything in it at the end, so
// that no measured run pays for making the files.
class TempStore {
public:
    explicit TempStore(const std::function<void(const StoreDir&)>& fill,
                       const char* pattern = "/tmp/daybrook-bench-XXXXXX") {
        std::string name = pattern;
        if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make a temporary directory");
        m_dir = name;
        try {
            fill(m_dir);
        } catch (...) {
            remove();
            throw;
        }
    }
    ~TempStore() { remove(); }
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    const StoreDir& dir() const noexcept { return m_dir; }

private:
    void remove() noexcept {
        std::error_code error;
        std::filesystem::remove_all(m_dir, error);
    }

    StoreDir m_dir;
};

// Writes the record as the entry file of that day and slot (its `date` and `file` fields set as
// the diary sets them), with plain calls and no flush.
inline void put_entry(const StoreDir& dir, DayNumber day, int slot, EntryRecord record) {
    record.date = day_to_date(day);
    record.file = entry_file_name(day, slot);
    const RecordBytes bytes = encode(record);
    const std::string path = (dir / record.file).string();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const bool written = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    if (fd >= 0 && ::close(fd) != 0) throw std::runtime_error("cannot write " + path);
    if (!written) throw std::runtime_error("cannot write " + path);
}

// Memos of different lengths, so that records are not all alike. One in seven mentions the
// dentist with a capital letter, which only a search that folds case finds.
inline constexpr std::array memos{
    "Team meeting about the spring budget",
    "Dentist at half past ten",
    "Buy flowers",
    "Call the garage about the brakes and ask for the invoice of last month, twice",
    "Library books due",
    "Piano lesson",
    "Pay the electricity bill",
};

// A memo one entry in a thousand has: what a user looks for to delete, as a rule.
inline constexpr const char* rare_memo = "Renew the passport";

inline const char* memo_of(DayNumber day, int slot) {
    if ((day + slot) % 1000 == 999) return rare_memo;
    return memos[std::size_t(day + slot) % memos.size()];
}

// Every slot of a day, some red-letter entries among them; yearly entries only when asked for,
// because a passed yearly entry is carried over by the close and so changes the store.
inline void write_day(const StoreDir& dir, DayNumber day, bool with_yearly) {
    for (int slot = 0; slot < slots_per_day; ++slot) {
        const int mix = day + slot;
        EntryRecord record;
        record.text = memo_of(day, slot);
        record.red = mix % 13 == 0 ? 1 : 0;
        record.yearly = with_yearly && mix % 17 == 0 ? EntryRecord::yearly_pending : EntryRecord::not_yearly;
        put_entry(dir, day, slot, record);
    }
}

// The entry file names of a directory, as the bare loops find them: readdir, a pattern, a sort
// into the store's order.
inline std::vector<std::string> bare_listing(const std::string& dir) {
    std::vector<std::string> names;
    DIR* stream = ::opendir(dir.c_str());
    if (stream == nullptr) return names;
    while (const dirent* item = ::readdir(stream)) {
        if (::fnmatch("DAT?????.00?", item->d_name, FNM_PATHNAME | FNM_PERIOD) == 0)
            names.emplace_back(item->d_name);
    }
    ::closedir(stream);
    std::sort(names.begin(), names.end());
    return names;
}

// What the bare loops do with each file: open it, read one record's bytes, close it. Returns
// the bytes read, which the caller sums and checks.
inline long read_one_record(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    std::array<unsigned char, EntryRecord::size> bytes;
    const ssize_t got = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    asm volatile("" : : "g"(bytes.data()) : "memory");  // the bytes count as used, as DoNotOptimize does
    return got;
}

}  // namespace daybrook::bench
