// Many new entries written as one batch, as an import or a sync makes them: however many there
// are, their files are flushed to disk a fixed number of times (see FileBatch), and none takes its
// name before its bytes are on disk. Each goes where add_entry would put it: the lowest slot of its
// day that nothing has the name of, claimed by an exclusive rename.
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "calendar/day_number.h"
#include "store/entry_files.h"
#include "store/entry_record.h"
#include "store/file_writes.h"

namespace daybrook {

// An entry file with the bytes written (or to be written) to it.
struct EntryFile {
    std::string name;
    RecordBytes bytes{};
};

// Hands out the names of new entries ahead of writing them: a day's lowest slot that nothing has
// the name of and that was not handed out before. A trial run that writes nothing gets the names
// a write would give.
class SlotPlanner {
public:
    explicit SlotPlanner(StoreDir dir) : m_dir(std::move(dir)) {}
    // Nothing when the day has no slot left.
    std::optional<std::string> next_name(DayNumber day);

private:
    StoreDir m_dir;
    std::set<std::string> m_given;
};

// Where an entry of the batch went: its file, or why it has none (day_full, io_error).
struct PlacedEntry {
    StoreError error = StoreError::none;
    std::string name;      // the file written, when error is none
    int error_number = 0;  // what the system said, for an io_error
};

struct BatchOutcome {
    std::vector<PlacedEntry> entries;  // one for each entry added, in the order added
    // What the system said when the folder's names could not be flushed: the entries have their
    // names, but a crash could yet take them. Zero when they were flushed.
    int names_error = 0;
};

class EntryBatch {
public:
    explicit EntryBatch(const StoreDir& dir) : m_dir(dir), m_slots(dir) {}

    // Takes in an entry for the day: sets `date` and `file` as add_entry does, and plans its slot.
    // The name its file is to have, or day_full; nothing is written yet.
    [[nodiscard]] AddedEntry add(DayNumber day, EntryRecord record);

    // Called with the files of a round once they are written, and before the flush that puts them
    // on disk: what it writes beside them in the folder (the record of an import) is on disk with
    // them, before any takes its name. None takes its name when it returns false.
    using BeforePlacing = std::function<bool(std::span<const EntryFile> files)>;

    // Writes the entries added: their temporary files, one flush, their names, one flush of the
    // folder. An entry whose slot another program took meanwhile moves on to the next free slot
    // of its day, in a second round written and flushed alike.
    [[nodiscard]] BatchOutcome write(const BeforePlacing& before_placing = {});

private:
    struct Pending {
        DayNumber day = 0;
        EntryRecord record;
    };
    std::vector<std::size_t> write_round(const std::vector<std::size_t>& round, const BeforePlacing& before_placing,
                                         BatchOutcome& outcome);
    std::vector<std::size_t> place_round(FileBatch& files, const std::vector<std::pair<std::size_t, std::size_t>>& staged,
                                         BatchOutcome& outcome);
    bool move_on(std::size_t index, BatchOutcome& outcome);

    StoreDir m_dir;
    SlotPlanner m_slots;
    std::vector<Pending> m_pending;
};

}  // namespace daybrook
