#include "sync/sync_run.h"

#include <stdlib.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <system_error>
#include <utility>

#include "ics/ics_export.h"
#include "ics/ics_import.h"
#include "sync/state_file.h"
#include "sync/sync_table.h"
#include "ics/windows_1252.h"

namespace daybrook {
namespace {

// A private folder outside the diary in which the import lays out an event's entries before
// the sync decides which of them the diary takes.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "daybrook-sync-XXXXXX").string();
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const StoreDir& path() const { return m_path; }

private:
    StoreDir m_path;
};

struct PlannedEntry {
    DayNumber day = 0;
    EntryRecord record;
};

struct Plan {
    std::vector<PlannedEntry> entries;
    bool repeats = false;  // some of its days lie beyond the horizon
    std::vector<SkippedItem> skipped;
};

struct DiaryFile {
    Etag etag;
    bool claimed = false;  // an event of the state or of this sync stands for it
    std::optional<std::optional<EntryRecord>> record;  // read once, when needed
};

// "dd/mm/yyyy", as the import names the days it skips.
std::string long_date(DayNumber day) {
    const CalendarDate date = day_to_calendar(day);
    return format_date(date.day, date.month, date.year);
}

// The day a yearly entry is carried over to, as the renewal at close counts it.
DayNumber next_year_of(DayNumber day) {
    const CalendarDate date = day_to_calendar(day);
    return day_number_of(date.day, date.month, date.year + 1 - 1900);
}

class Sync {
public:
    Sync(const SyncRequest& request, SyncReport& report) : m_request(request), m_report(report) {}
    void run();

private:
    bool read_sides();
    bool safe_to_go_on() const;
    SideChange vdir_side(SyncedItem& item);
    SideChange diary_side(SyncedItem& item);
    std::optional<SyncedEntry> claim_copy(const SyncedEntry& passed);
    void apply(SyncAction action, SyncedItem item);
    void receive(SyncedItem item, bool known);
    void extend(SyncedItem& item);
    void send(const std::string& name);
    bool join_earlier_year(const std::string& vdir_name, const std::string& name, const EntryRecord& record);
    Plan plan(const std::string& source, std::string_view text, DayNumber from);
    std::vector<SyncedEntry> take(const std::vector<PlannedEntry>& planned);
    std::optional<SyncedEntry> claim_alike(DayNumber day, std::uint64_t key);
    void claim_forerunners(DayNumber day, std::uint64_t key, std::vector<SyncedEntry>& entries);
    const std::optional<EntryRecord>& record_of(const std::string& name);
    void dispose_of(const std::vector<SyncedEntry>& entries);
    SyncedEntry claimed_entry(const std::string& name, std::uint64_t key);

    const SyncRequest& m_request;
    SyncReport& m_report;
    ScratchFolder m_scratch;
    DayNumber m_bound = 0;    // entries missing from this day on were deleted by the user
    DayNumber m_horizon = 0;  // the last day repeats are made into entries
    std::map<std::string, DiaryFile> m_diary;  // every entry file, by name
    std::map<std::string, Etag> m_vdir;        // every vdir item, by name
    SyncState m_old;
    SyncState m_new;
    std::size_t m_added = 0;  // entries made so far
};

void Sync::run() {
    if (!read_sides() || !safe_to_go_on()) return;
    const SyncState before = m_old;
    std::vector<std::pair<SyncAction, SyncedItem>> decided;
    // Every event of the state claims its entries before any event looks for entries alike.
    for (SyncedItem& item : m_old.items) {
        const SideChange vdir = vdir_side(item);
        const SideChange diary = diary_side(item);
        decided.emplace_back(sync_action(diary, vdir), std::move(item));
    }
    std::set<std::string> known;
    for (const auto& [action, item] : decided) known.insert(item.vdir_name);
    for (auto& [action, item] : decided) apply(action, std::move(item));
    for (const auto& [name, etag] : m_vdir)
        if (!known.contains(name)) apply(SyncAction::receive, {.vdir_name = name});
    for (const auto& [name, file] : m_diary)
        if (!file.claimed) send(name);
    // A sync that found everything as it was leaves the state alone, unwritten.
    if (m_new != before && !save_sync_state(m_request.diary, m_new))
        m_report.failures.push_back(std::string(sync_state_file));
}

bool Sync::read_sides() {
    const std::optional<VdirListing> listing = list_vdir(m_request.vdir);
    if (!listing) {
        m_report.error = "the folder " + m_request.vdir.string() + " cannot be read";
        return false;
    }
    for (const VdirItem& item : listing->items) m_vdir.emplace(item.name, item.etag);
    for (const std::string& name : list_entry_files(m_request.diary))
        m_diary[name].etag = etag_of(m_request.diary / name);
    const LoadedState loaded = load_sync_state(m_request.diary, m_request.vdir.string());
    m_report.state_damaged = loaded.outcome == StateRead::damaged;
    m_old = loaded.state;
    if (loaded.outcome != StateRead::loaded) m_old.keep_code = m_request.keep_code;
    m_new.vdir = m_request.vdir.string();
    m_new.keep_code = m_request.keep_code;
    const int kept = std::min(keep_days(m_old.keep_code), keep_days(m_request.keep_code));
    m_bound = m_request.today - 2 - kept;
    m_horizon = std::min(m_request.today + sync_horizon_days, last_diary_day);
    if (m_scratch.path().empty()) m_report.error = "no temporary folder could be made";
    return m_scratch.path().empty() == false;
}

// One event or entry deleted on its own is a user's deletion; every one of several gone at once
// is a folder wiped or mounted wrong, which must not empty the other side.
bool Sync::safe_to_go_on() const {
    const auto with_entries = std::count_if(m_old.items.begin(), m_old.items.end(),
                                            [](const SyncedItem& item) { return !item.entries.empty(); });
    if (m_old.items.size() > 1 && m_vdir.empty()) {
        m_report.error = "the folder " + m_request.vdir.string() + " is empty, but held " +
                         std::to_string(m_old.items.size()) + " events at the last sync";
        return false;
    }
    if (with_entries > 1 && m_diary.empty()) {
        m_report.error = "the diary holds no entries, but held " + std::to_string(with_entries) +
                         " events' entries at the last sync";
        return false;
    }
    return true;
}

SideChange Sync::vdir_side(SyncedItem& item) {
    const auto found = m_vdir.find(item.vdir_name);
    if (found == m_vdir.end()) return SideChange::removed;
    if (found->second == item.vdir_etag) return SideChange::unchanged;
    const std::optional<VdirRead> read = read_vdir_item(m_request.vdir, item.vdir_name);
    const std::optional<std::string> text = read ? std::optional(read->text) : std::nullopt;
    if (!text) {
        m_report.failures.push_back(item.vdir_name);
        return SideChange::unchanged;
    }
    item.vdir_etag = found->second;
    const std::uint64_t hash = content_hash(*text);
    if (hash == item.vdir_hash) return SideChange::unchanged;
    item.vdir_hash = hash;
    return SideChange::changed;
}

SideChange Sync::diary_side(SyncedItem& item) {
    std::vector<SyncedEntry> kept;
    bool changed = false;
    bool deleted = false;
    for (SyncedEntry& entry : item.entries) {
        const auto found = m_diary.find(entry.name);
        bool same = false;
        if (found != m_diary.end() && !found->second.claimed) {
            const std::optional<EntryRecord>& record =
                found->second.etag == entry.etag ? std::nullopt : record_of(entry.name);
            same = found->second.etag == entry.etag || (record && entry_key(*record) == entry.key);
            if (same && found->second.etag != entry.etag) {
                changed = true;
                entry.etag = found->second.etag;
                if (record->yearly == EntryRecord::yearly_renewed)
                    if (std::optional<SyncedEntry> copy = claim_copy(entry)) kept.push_back(*copy);
            }
        }
        if (same) {
            found->second.claimed = true;
            kept.push_back(entry);
            continue;
        }
        changed = true;
        if (std::optional<SyncedEntry> copy = claim_copy(entry)) kept.push_back(*copy);
        else if (day_of_entry_name(entry.name) >= m_bound) deleted = true;
    }
    item.entries = std::move(kept);
    if (item.entries.empty() && deleted) return SideChange::removed;
    return changed ? SideChange::changed : SideChange::unchanged;
}

// Next year's copy of a yearly entry that the close carried over: the same event still.
std::optional<SyncedEntry> Sync::claim_copy(const SyncedEntry& passed) {
    return claim_alike(next_year_of(day_of_entry_name(passed.name)), passed.key);
}

// An entry on the day that no event stands for yet and says what `key` says.
std::optional<SyncedEntry> Sync::claim_alike(DayNumber day, std::uint64_t key) {
    std::optional<SyncedEntry> found;
    for (int slot = 0; slot < slots_per_day && !found; ++slot) {
        const std::string name = entry_file_name(day, slot);
        const auto file = m_diary.find(name);
        if (file == m_diary.end() || file->second.claimed) continue;
        const std::optional<EntryRecord>& record = record_of(name);
        if (record && entry_key(*record) == key) found = claimed_entry(name, key);
    }
    return found;
}

SyncedEntry Sync::claimed_entry(const std::string& name, std::uint64_t key) {
    DiaryFile& file = m_diary[name];
    file.claimed = true;
    return {name, file.etag, key};
}

const std::optional<EntryRecord>& Sync::record_of(const std::string& name) {
    DiaryFile& file = m_diary[name];
    if (!file.record) file.record = read_entry(m_request.diary, name);
    return *file.record;
}

// A yearly entry's forerunners on the same date of earlier years, carried over and kept: the
// event's own days, which must not go out again as events of their own.
void Sync::claim_forerunners(DayNumber day, std::uint64_t key, std::vector<SyncedEntry>& entries) {
    if (m_diary.empty()) return;
    const DayNumber first = day_of_entry_name(m_diary.begin()->first);
    CalendarDate date = day_to_calendar(day);
    for (date.year -= 1; day_number_of(date.day, date.month, date.year - 1900) >= first; date.year -= 1) {
        const DayNumber earlier = day_number_of(date.day, date.month, date.year - 1900);
        if (std::optional<SyncedEntry> found = claim_alike(earlier, key)) entries.push_back(*found);
    }
}

void Sync::apply(SyncAction action, SyncedItem item) {
    switch (action) {
        case SyncAction::nothing:
            if (item.repeats && item.horizon < m_horizon) extend(item);
            [[fallthrough]];
        case SyncAction::record:
            m_new.items.push_back(std::move(item));
            return;
        case SyncAction::replace_here:
            dispose_of(item.entries);
            return receive(std::move(item), true);
        case SyncAction::receive: {
            const bool known = !item.vdir_etag.empty();  // an event of the state that comes back
            return receive(std::move(item), known);
        }
        case SyncAction::remove_here:
            dispose_of(item.entries);
            ++m_report.removed_here;
            return;
        case SyncAction::remove_there:
            if (remove_vdir_item(m_request.vdir, item.vdir_name)) ++m_report.removed_there;
            else m_report.failures.push_back(item.vdir_name);
            return;
        case SyncAction::send:  // only entries no event stands for are sent, below
        case SyncAction::forget:
            return;
    }
}

// Makes the event's entries from today to the horizon, taking entries alike that no event
// stands for instead of making them again. An event that cannot be read is remembered without
// entries, so that it is tried again only when it changes.
void Sync::receive(SyncedItem item, bool known) {
    const std::string name = item.vdir_name;
    const std::optional<VdirRead> read = read_vdir_item(m_request.vdir, name);
    const std::optional<std::string> text = read ? std::optional(read->text) : std::nullopt;
    if (!text) {
        m_report.failures.push_back(name);
        if (known) m_new.items.push_back(std::move(item));
        return;
    }
    item.vdir_etag = etag_of(m_request.vdir / name);
    item.vdir_hash = content_hash(*text);
    const Plan planned = plan(name, *text, m_request.today);
    const std::size_t before = m_added;
    item.entries = take(planned.entries);
    item.horizon = m_horizon;
    item.repeats = planned.repeats;
    if (m_added > before || known) ++m_report.received;
    m_new.items.push_back(std::move(item));
}

// Adds a repeating event's days that came within the horizon since the last sync.
void Sync::extend(SyncedItem& item) {
    const std::optional<VdirRead> read = read_vdir_item(m_request.vdir, item.vdir_name);
    const std::optional<std::string> text = read ? std::optional(read->text) : std::nullopt;
    if (!text) return m_report.failures.push_back(item.vdir_name);
    const Plan planned = plan(item.vdir_name, *text, std::max(m_request.today, item.horizon + 1));
    for (SyncedEntry& entry : take(planned.entries)) item.entries.push_back(std::move(entry));
    item.horizon = m_horizon;
    item.repeats = planned.repeats;
}

void Sync::send(const std::string& name) {
    const std::optional<EntryRecord>& record = record_of(name);
    if (!record) return m_report.failures.push_back(name);
    const EntryEvent event = entry_event(m_request.diary, name, *record);
    const std::string vdir_name = vdir_name_for_uid(event.uid);
    if (join_earlier_year(vdir_name, name, *record)) return;
    // A file of that name that no entry matched belongs to someone else: never overwritten.
    if (m_vdir.contains(vdir_name) || !write_vdir_item(m_request.vdir, vdir_name, event.text))
        return m_report.failures.push_back(name);
    m_vdir.emplace(vdir_name, etag_of(m_request.vdir / vdir_name));
    SyncedItem item{vdir_name, m_vdir[vdir_name], content_hash(event.text), m_horizon, false,
                    {claimed_entry(name, entry_key(*record))}};
    ++m_report.sent;
    m_new.items.push_back(std::move(item));
}

// A yearly entry alike one of an earlier year (the same memo and colour on the same day and month)
// has that entry's UID. The event already in step for the earlier entry repeats every year from
// its day, so it stands for this one too, as it does for the copies the close carries over.
bool Sync::join_earlier_year(const std::string& vdir_name, const std::string& name, const EntryRecord& record) {
    if (record.yearly == EntryRecord::not_yearly) return false;
    const auto same = std::find_if(m_new.items.begin(), m_new.items.end(),
                                   [&](const SyncedItem& item) { return item.vdir_name == vdir_name; });
    if (same == m_new.items.end() || same->entries.empty()) return false;
    const auto earlier = [&](const SyncedEntry& entry) { return day_of_entry_name(entry.name) < day_of_entry_name(name); };
    if (!std::any_of(same->entries.begin(), same->entries.end(), earlier)) return false;
    same->entries.push_back(claimed_entry(name, entry_key(record)));
    return true;
}

// The entries the import makes of an event from `from` to the horizon, laid out in the scratch
// folder and read back. What the import skipped, apart from days past and days already taken,
// is reported as not taken.
Plan Sync::plan(const std::string& source, std::string_view text, DayNumber from) {
    Plan result;
    const ImportReport report = import_ics(m_scratch.path(), text, from);
    for (const AddedFile& added : report.added) {
        const std::string& name = added.name;
        const std::optional<EntryRecord> record = read_entry(m_scratch.path(), name);
        const DayNumber day = day_of_entry_name(name);
        if (remove_entry_file(m_scratch.path(), name) != StoreError::none || !record) {
            m_report.failures.push_back(source + " (the scratch folder failed)");
        } else if (record->yearly == EntryRecord::not_yearly && day > m_horizon) {
            result.repeats = true;
        } else {
            result.entries.push_back({day, *record});
        }
    }
    for (const SkippedItem& item : report.skipped)
        if (item.reason != SkipReason::past && item.reason != SkipReason::already_there &&
            item.reason != SkipReason::too_many)
            m_report.not_taken.push_back(item);
    if (!report.error.empty()) m_report.failures.push_back(source + " (" + report.error + ")");
    if (!report.write_error.empty()) m_report.failures.push_back(source + " (" + report.write_error + ")");
    return result;
}

// The planned entries in the diary: an entry alike that no event stands for is taken for each,
// else a new one is made.
std::vector<SyncedEntry> Sync::take(const std::vector<PlannedEntry>& planned) {
    std::vector<SyncedEntry> entries;
    for (const PlannedEntry& want : planned) {
        const std::uint64_t key = entry_key(want.record);
        std::optional<SyncedEntry> entry = claim_alike(want.day, key);
        if (!entry) {
            const AddedEntry added = add_entry(m_request.diary, want.day, want.record);
            if (added.error == StoreError::day_full) {
                m_report.not_taken.push_back({windows_1252_to_utf8(want.record.text), long_date(want.day),
                                              SkipReason::day_full});
                continue;
            }
            if (added.error != StoreError::none) {
                m_report.failures.push_back(entry_file_name(want.day, 0));
                continue;
            }
            ++m_added;
            m_diary[added.name].etag = etag_of(m_request.diary / added.name);
            entry = claimed_entry(added.name, key);
        }
        entries.push_back(*entry);
        if (want.record.yearly != EntryRecord::not_yearly) claim_forerunners(want.day, key, entries);
    }
    return entries;
}

void Sync::dispose_of(const std::vector<SyncedEntry>& entries) {
    for (const SyncedEntry& entry : entries)
        if (remove_entry_file(m_request.diary, entry.name, m_request.dispose) != StoreError::none)
            m_report.failures.push_back(entry.name);
}

}  // namespace

SyncReport sync_vdir(const SyncRequest& request) {
    SyncReport report;
    Sync(request, report).run();
    return report;
}

}  // namespace daybrook
