// Calendar files: the input is a whole file to import into an empty diary. Besides crashes and
// hangs, it checks that every entry written is a valid entry of the day its file names, and that
// importing the same file again adds nothing.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "fuzz_check.h"
#include "ics/ics_import.h"

namespace {

using namespace daybrook;

const DayNumber today = day_number_of(date_parts("01/03/26"));

// Bounds that keep one run short; the import's own limits are tested elsewhere.
const ImportLimits limits{.per_event = 40, .per_file = 200, .until = day_number_of(date_parts("01/06/26"))};

// A diary folder of the run's own, removed when the run ends.
struct Folder {
    std::filesystem::path path;
    Folder() {
        char pattern[] = "/tmp/daybrook-ics-fuzz-XXXXXX";
        if (!::mkdtemp(pattern)) std::abort();
        path = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::filesystem::path& diary() {
    static const Folder folder;
    return folder.path;
}

void check_entry(const std::string& name) {
    FUZZ_CHECK(is_entry_file_name(name));
    const auto record = read_entry(diary(), name);
    FUZZ_CHECK(record.has_value());
    FUZZ_CHECK(record->file == name);
    const DayNumber day = day_of_entry_name(name);
    FUZZ_CHECK(record->date == day_to_date(day));
    FUZZ_CHECK(day >= today && day <= last_diary_day);
    FUZZ_CHECK(!is_blank(record->text));
    FUZZ_CHECK(record->yearly == EntryRecord::not_yearly || record->yearly == EntryRecord::yearly_pending);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("TZ", "UTC0", 1);  // the days must not depend on the machine running the fuzzer
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::error_code ignored;
    for (const auto& file : std::filesystem::directory_iterator(diary(), ignored))
        std::filesystem::remove(file.path(), ignored);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ImportReport first = import_ics(diary(), text, today, limits);
    FUZZ_CHECK(first.write_error.empty());
    for (const AddedFile& added : first.added) check_entry(added.name);
    if (!first.error.empty()) {
        FUZZ_CHECK(first.added.empty());
        return 0;
    }
    const ImportReport again = import_ics(diary(), text, today, limits);
    FUZZ_CHECK(again.added.empty());
    return 0;
}
