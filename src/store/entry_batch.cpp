#include "store/entry_batch.h"

#include <algorithm>
#include <cerrno>
#include <numeric>
#include <utility>

namespace daybrook {
namespace {

void mark_failed(PlacedEntry& entry, int error_number) { entry = {StoreError::io_error, {}, error_number}; }

}  // namespace

std::optional<std::string> SlotPlanner::next_name(DayNumber day) {
    for (int slot = 0; slot < slots_per_day; ++slot) {
        std::string name = entry_file_name(day, slot);
        // The names handed out first: they cost no look at the folder.
        if (m_given.contains(name) || slot_taken(m_dir, day, slot)) continue;
        m_given.insert(name);
        return name;
    }
    return std::nullopt;
}

AddedEntry EntryBatch::add(DayNumber day, EntryRecord record) {
    std::optional<std::string> name = m_slots.next_name(day);
    if (!name) return {StoreError::day_full, {}};
    record.date = day_to_date(day);
    record.file = *name;
    m_pending.push_back({day, std::move(record)});
    return {StoreError::none, std::move(*name)};
}

BatchOutcome EntryBatch::write(const BeforePlacing& before_placing) {
    BatchOutcome outcome;
    outcome.entries.resize(m_pending.size());
    std::vector<std::size_t> round(m_pending.size());
    std::iota(round.begin(), round.end(), std::size_t{0});
    while (!round.empty()) round = write_round(round, before_placing, outcome);
    const bool any_placed = std::any_of(outcome.entries.begin(), outcome.entries.end(),
                                        [](const PlacedEntry& entry) { return entry.error == StoreError::none; });
    if (any_placed && !sync_folder(m_dir.native())) outcome.names_error = errno != 0 ? errno : EIO;
    m_pending.clear();
    return outcome;
}

// Writes one round of entries; the entries whose slot was taken meanwhile, each moved on to
// another, are the next round's.
std::vector<std::size_t> EntryBatch::write_round(const std::vector<std::size_t>& round,
                                                 const BeforePlacing& before_placing, BatchOutcome& outcome) {
    FileBatch batch(m_dir.native());
    std::vector<std::pair<std::size_t, std::size_t>> staged;  // the entry, and its file in the batch
    std::vector<EntryFile> files;
    for (std::size_t index : round) {
        EntryFile file{m_pending[index].record.file, encode(m_pending[index].record)};
        if (const std::optional<std::size_t> at = batch.stage(file.name, file.bytes)) {
            staged.emplace_back(index, *at);
            files.push_back(std::move(file));
        } else {
            mark_failed(outcome.entries[index], errno);
        }
    }
    if (staged.empty()) return {};
    if ((before_placing && !before_placing(files)) || !batch.flush()) {
        const int why = errno;
        for (const auto& [index, at] : staged) mark_failed(outcome.entries[index], why);
        return {};
    }
    return place_round(batch, staged, outcome);
}

std::vector<std::size_t> EntryBatch::place_round(FileBatch& files,
                                                 const std::vector<std::pair<std::size_t, std::size_t>>& staged,
                                                 BatchOutcome& outcome) {
    std::vector<std::size_t> next;
    for (const auto& [index, file] : staged) {
        switch (files.place_new(file)) {
            case PlaceOutcome::placed:
                outcome.entries[index] = {StoreError::none, m_pending[index].record.file, 0};
                break;
            case PlaceOutcome::taken:
                if (move_on(index, outcome)) next.push_back(index);
                break;
            case PlaceOutcome::failed:
                mark_failed(outcome.entries[index], errno);
                break;
        }
    }
    return next;
}

// Plans an entry whose slot was taken on the next free one of its day; false when there is none.
bool EntryBatch::move_on(std::size_t index, BatchOutcome& outcome) {
    Pending& pending = m_pending[index];
    const std::optional<std::string> name = m_slots.next_name(pending.day);
    if (!name) {
        outcome.entries[index] = {StoreError::day_full, {}, 0};
        return false;
    }
    pending.record.file = *name;
    return true;
}

}  // namespace daybrook
