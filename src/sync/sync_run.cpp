#include "sync/sync_run.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "calendar/next_year.h"
#include "ics/calendar_plan.h"
#include "ics/entry_uid.h"
#include "ics/ics_export.h"
#include "ics/windows_1252.h"
#include "store/entry_batch.h"
#include "store/purge_mark.h"
#include "sync/state_file.h"
#include "sync/sync_table.h"

namespace daybrook {
namespace {

struct DiaryFile {
    Etag etag;
    bool claimed = false;  // an event of the state or of this sync stands for it
    bool read = false;
    std::optional<EntryRecord> record;  // once read; nothing when it could not be read
};

// An entry this sync makes, written with the others at its end: the event it stands for, and what
// a failure to write it tells.
struct MadeEntry {
    std::string vdir_name;
    std::string name;  // as planned; the batch may yet move it to another slot of its day
    std::string summary;
    DayNumber day = 0;
};

// An event this sync writes into the vdir for an entry, with the others at its end.
struct SentEvent {
    std::string vdir_name;
    std::string entry;
};

// A vdir item as listed, and whether the state or a pairing knows it.
struct VdirFile {
    Etag etag;
    bool known = false;
};

// An event of the state with what this sync makes of it.
struct Decision {
    SyncAction action = SyncAction::nothing;
    SyncedItem item;  // as this sync found it
    // As the last sync left it, in the old state; none for an event paired by this sync, which
    // stands as it was found.
    const SyncedItem* before = nullptr;

    const SyncedItem& as_before() const { return before ? *before : item; }
};

// How the entries of an event are made again from its file.
enum class Refill {
    receive,  // a new event: every entry it plans
    replace,  // a changed event: its entries from today on as it plans them now
    extend,   // an unchanged event that repeats without end: the days beyond its horizon
};

std::string event_failure(const std::string& vdir_name, const std::string& why) {
    return "the event in " + vdir_name + ": " + why;
}

std::string entry_failure(const std::string& name, const EntryRecord& record, const std::string& why) {
    return "the entry \"" + windows_1252_to_utf8(record.text) + "\" of " + report_date(plain_day_of(day_of_entry_name(name))) + ": " + why;
}

// Finds names in a map of names, trying first the name after each of the last two found. The
// state lists its events and their entries in the order of the diary's entries: the order of the
// diary's map, and of the vdir's but for the events of yearly entries, whose names sort apart.
// So deciding an unchanged state finds nearly every name without a search, the name after a
// yearly event's included.
template <typename Map>
class NameFinder {
public:
    using Found = typename Map::iterator;
    explicit NameFinder(Map& map) : m_map(map), m_last(map.end()), m_before(map.end()) {}

    Found find(const std::string& name) {
        for (const Found hint : {m_last, m_before})
            if (hint != m_map.end() && std::next(hint) != m_map.end() && std::next(hint)->first == name)
                return found(std::next(hint));
        return found(m_map.find(name));
    }

private:
    Found found(Found at) {
        if (at != m_map.end()) m_before = std::exchange(m_last, at);
        return at;
    }

    Map& m_map;
    Found m_last;
    Found m_before;
};

// Whether a removal of `removed` of the `seen` events of the last sync looks like a wiped folder.
bool mass_removal(std::size_t removed, std::size_t seen) {
    return removed >= 2 && (removed == seen || (removed >= 3 && 2 * removed > seen));
}

class Sync {
public:
    Sync(const SyncRequest& request, SyncReport& report)
        : m_request(request), m_report(report), m_new_entries(request.diary), m_new_events(request.vdir) {}
    void run();

private:
    bool read_sides();
    std::vector<Decision> decide_known();
    SideChange vdir_side(SyncedItem& item);
    SideChange diary_side(SyncedItem& item);
    bool plans_yearly(const std::string& vdir_name);
    void pair_by_uid(std::vector<Decision>& decisions);
    std::map<std::string, std::vector<std::string>> entries_by_event_name();
    SideChange paired_change(const VdirRead& read, SyncedItem& item);
    void hold_mass_removals(std::vector<Decision>& decisions);
    void apply(Decision decision);
    void remove_here(SyncedItem item);
    void receive(const std::string& vdir_name);
    void refill(SyncedItem& item, Refill mode);
    bool take(const PlannedEntry& planned, const SyncedItem& item, const CalendarPlan& plan,
              std::vector<SyncedEntry>& own, std::vector<SyncedEntry>& entries);
    void let_go(std::vector<SyncedEntry>& own, Refill mode, std::vector<SyncedEntry>& entries);
    void send(const std::string& name);
    bool join_earlier_year(const std::string& vdir_name, const std::string& name, const EntryRecord& record);
    std::optional<SyncedEntry> claim_copy(const SyncedEntry& passed);
    std::optional<SyncedEntry> claim_alike(DayNumber day, std::uint64_t key);
    void claim_forerunners(DayNumber day, std::uint64_t key, std::vector<SyncedEntry>& entries);
    SyncedEntry claimed_entry(const std::string& name, std::uint64_t key);
    const std::optional<EntryRecord>& record_of(const std::string& name);
    const VdirRead* fetch(const std::string& vdir_name);
    void write_made();
    void settle_made(const MadeEntry& made, const PlacedEntry& placed, bool lasting, SyncedItem& item);
    void write_sent();

    const SyncRequest& m_request;
    SyncReport& m_report;
    DayNumber m_deleted_from = 0;  // an entry missing from this day on was deleted by the user
    DayNumber m_horizon = 0;       // the last day repeats without end are made into entries
    std::map<std::string, DiaryFile> m_diary;  // every entry file, by name
    std::map<std::string, VdirFile> m_vdir;    // every vdir item, by name
    // Where the state's events and entries are found, in its order, while they are decided.
    NameFinder<std::map<std::string, VdirFile>> m_vdir_finder{m_vdir};
    NameFinder<std::map<std::string, DiaryFile>> m_diary_finder{m_diary};
    std::map<std::string, VdirRead> m_read;    // the vdir items read so far
    std::size_t m_made = 0;                    // entries made so far
    // What this sync writes on either side, written in two batches at its end: a flush for each
    // new file would cost a wait for the disk every time.
    EntryBatch m_new_entries;
    std::vector<MadeEntry> m_made_entries;  // in the batch's order
    VdirBatch m_new_events;
    std::vector<SentEvent> m_sent_events;
    std::set<std::string> m_counted;  // the events counted as received
    SyncState m_old;
    SyncState m_new;
};

void Sync::run() {
    if (!read_sides()) return;
    std::vector<Decision> decisions = decide_known();
    pair_by_uid(decisions);
    if (m_request.removals == Removals::hold_mass) hold_mass_removals(decisions);
    for (Decision& decision : decisions) apply(std::move(decision));
    for (const auto& [name, file] : m_vdir)
        if (!file.known) receive(name);
    std::vector<std::string> unclaimed;
    for (const auto& [name, file] : m_diary)
        if (!file.claimed) unclaimed.push_back(name);
    for (const std::string& name : unclaimed) send(name);
    // Written before the state that names them, so that no state outlives the files it names.
    write_made();
    write_sent();
    // A sync that found everything as it was leaves the state alone, unwritten.
    if (m_new != m_old && !save_sync_state(m_request.diary, m_new))
        m_report.failures.push_back("its record of this sync (" + std::string(sync_state_file) +
                                    "): it could not be saved, so the next sync pairs events and entries again");
}

bool Sync::read_sides() {
    std::error_code ignored;  // a leftover that will not go is tried again next time
    std::optional<VdirListing> listing = list_vdir(m_request.vdir);
    if (!listing) {
        m_report.error = "the folder " + m_request.vdir.string() + " cannot be read";
        return false;
    }
    // Both listings come in name order: each name goes at the end of its map.
    for (VdirItem& item : listing->items) m_vdir.emplace_hint(m_vdir.end(), std::move(item.name), VdirFile{item.etag});
    m_report.notes = std::move(listing->notes);
    const std::optional<StoreListing> diary = list_store(m_request.diary, is_state_file_name);
    if (!diary) {
        m_report.error = "the diary's folder " + m_request.diary.string() + " cannot be read";
        return false;
    }
    std::vector<Etag> etags = etags_in(m_request.diary, diary->entries);
    for (std::size_t at = 0; at < etags.size(); ++at)
        m_diary.emplace_hint(m_diary.end(), diary->entries[at], DiaryFile{.etag = etags[at]});
    // What a sync killed while it wrote an entry or its state left behind.
    for (const std::string& name : diary->leftovers) std::filesystem::remove(m_request.diary / name, ignored);
    LoadedState loaded = load_sync_state(m_request.diary, m_request.vdir.string());
    m_report.state_damaged = loaded.outcome == StateRead::damaged;
    m_old = std::move(loaded.state);
    m_new.vdir = m_request.vdir.string();
    m_new.items.reserve(m_old.items.size());
    m_deleted_from = read_purge_mark(m_request.diary).value_or(m_request.today);
    m_horizon = std::min(m_request.today + sync_horizon_days, last_diary_day);
    return true;
}

// Every event of the state claims its entries before any new event looks for entries alike.
std::vector<Decision> Sync::decide_known() {
    std::vector<Decision> decisions;
    decisions.reserve(m_old.items.size());
    for (const SyncedItem& before : m_old.items) {
        SyncedItem item = before;
        const SideChange vdir = vdir_side(item);
        const SideChange diary = diary_side(item);
        decisions.push_back({sync_action(diary, vdir), std::move(item), &before});
    }
    return decisions;
}

// The etag decides without reading, unless the event waits to be made again; a file read for a
// new etag is changed only when its contents are.
SideChange Sync::vdir_side(SyncedItem& item) {
    const auto found = m_vdir_finder.find(item.vdir_name);
    if (found == m_vdir.end()) return SideChange::removed;
    found->second.known = true;
    if (found->second.etag == item.vdir_etag && !item.retry) return SideChange::unchanged;
    const VdirRead* read = fetch(item.vdir_name);
    if (!read) {
        m_report.failures.push_back(event_failure(item.vdir_name, "it cannot be read"));
        return SideChange::unchanged;
    }
    item.vdir_etag = read->etag;
    const std::uint64_t hash = content_hash(read->text);
    if (hash == item.vdir_hash && !item.retry) return SideChange::unchanged;
    item.vdir_hash = hash;
    return SideChange::changed;
}

// An entry is still the event's when its file is unchanged, or rewritten with the same memo and
// flags (the renewal marks a yearly entry carried over); a yearly entry carried over is followed
// to its copy. An entry gone from a day the close has not purged was deleted by the user, and
// the event with it when that leaves it no entry from today on. So was a yearly event's entry
// that went on a day the close purged without carrying it over to next year.
SideChange Sync::diary_side(SyncedItem& item) {
    std::vector<SyncedEntry> kept;
    kept.reserve(item.entries.size());
    bool changed = false;
    bool deleted = false;
    for (SyncedEntry& entry : item.entries) {
        const auto found = m_diary_finder.find(entry.name);
        const bool present = found != m_diary.end() && !found->second.claimed;
        const bool same_file = present && found->second.etag == entry.etag;
        const std::optional<EntryRecord>* record = present && !same_file ? &record_of(entry.name) : nullptr;
        const bool rewritten = record && *record && entry_key(**record) == entry.key;
        if (same_file || rewritten) {
            found->second.claimed = true;
            if (rewritten) {
                changed = true;
                entry.etag = found->second.etag;
                if ((*record)->yearly == EntryRecord::yearly_renewed)
                    if (std::optional<SyncedEntry> copy = claim_copy(entry)) kept.push_back(*copy);
            }
            kept.push_back(std::move(entry));
            continue;
        }
        changed = true;
        if (std::optional<SyncedEntry> copy = claim_copy(entry)) kept.push_back(*copy);
        else if (day_of_entry_name(entry.name) >= m_deleted_from) deleted = true;
    }
    item.entries = std::move(kept);
    // The days passed that a changed event left behind do not keep it.
    const bool none_to_come = std::none_of(item.entries.begin(), item.entries.end(), [&](const SyncedEntry& entry) {
        return day_of_entry_name(entry.name) >= m_request.today;
    });
    if (deleted && none_to_come) return SideChange::removed;
    if (item.entries.empty() && changed && plans_yearly(item.vdir_name)) return SideChange::removed;
    return changed ? SideChange::changed : SideChange::unchanged;
}

bool Sync::plans_yearly(const std::string& vdir_name) {
    const VdirRead* read = fetch(vdir_name);
    if (!read) return false;
    const CalendarPlan plan = plan_calendar(read->text, m_request.today, {.until = m_horizon});
    return std::any_of(plan.entries.begin(), plan.entries.end(), [](const PlannedEntry& planned) {
        return planned.record.yearly != EntryRecord::not_yearly;
    });
}

// A vdir file that no state knows, named by the UID of entries no event stands for, is their
// event: written by a sync that was cut short before it saved its state, or known to a state that
// was lost. It goes through the table as a known event.
void Sync::pair_by_uid(std::vector<Decision>& decisions) {
    for (auto& [vdir_name, names] : entries_by_event_name()) {
        const VdirRead* read = fetch(vdir_name);
        if (!read) continue;  // received, and so reported, below
        SyncedItem item{.vdir_name = vdir_name, .vdir_etag = read->etag, .vdir_hash = content_hash(read->text)};
        for (const std::string& name : names) item.entries.push_back(claimed_entry(name, entry_key(*record_of(name))));
        const SideChange vdir = paired_change(*read, item);
        m_vdir[vdir_name].known = true;
        decisions.push_back({sync_action(SideChange::unchanged, vdir), std::move(item)});
    }
}

// The entries no event stands for, by the vdir file that no state knows and that their tag or
// their UID names; a yearly entry's copy goes with the entry it was carried over from, which comes
// earlier in name order. Entries are read only when there are such files.
std::map<std::string, std::vector<std::string>> Sync::entries_by_event_name() {
    std::map<std::string, std::vector<std::string>> found;
    std::map<std::string, std::string> unknown;  // by tag
    for (const auto& [name, file] : m_vdir)
        if (!file.known) unknown.emplace(event_tag(name), name);
    if (unknown.empty()) return found;
    std::map<std::string, std::string> event_of;  // entry name to vdir name
    for (const auto& [name, file] : m_diary) {
        const std::optional<EntryRecord>& record = record_of(name);
        if (file.claimed || !record) continue;
        const auto tagged = unknown.find(record->event);
        const auto carried = event_of.find(record->origin);
        std::string vdir_name = tagged != unknown.end()    ? tagged->second
                                : carried != event_of.end() ? carried->second
                                                            : vdir_name_for_uid(store_entry_uid(m_request.diary, name, *record));
        if (tagged == unknown.end() && carried == event_of.end() && !m_vdir.contains(vdir_name)) continue;
        if (m_vdir[vdir_name].known) continue;
        event_of[name] = vdir_name;
        found[vdir_name].push_back(name);
    }
    return found;
}

// Unchanged when the file holds what the sync writes for one of the entries, or plans from today
// on just the days of the entries from today on; changed when someone edited it since. An event
// that repeats without end is marked so, for the refill to extend it beyond the days paired.
SideChange Sync::paired_change(const VdirRead& read, SyncedItem& item) {
    const std::vector<SyncedEntry>& entries = item.entries;
    for (const SyncedEntry& entry : entries)
        if (entry_event(m_request.diary, entry.name, *record_of(entry.name)).text == read.text)
            return SideChange::unchanged;
    const CalendarPlan plan = plan_calendar(read.text, m_request.today, {.until = m_horizon});
    item.repeats = !plan.open_repeats.empty();
    const auto same = [](const SyncedEntry& entry, const PlannedEntry& planned) {
        return entry.key == entry_key(planned.record) && day_of_entry_name(entry.name) == planned.day;
    };
    const bool lacks_one = std::any_of(plan.entries.begin(), plan.entries.end(), [&](const PlannedEntry& planned) {
        return std::none_of(entries.begin(), entries.end(), [&](const SyncedEntry& entry) { return same(entry, planned); });
    });
    const bool has_more = std::any_of(entries.begin(), entries.end(), [&](const SyncedEntry& entry) {
        const DayNumber day = day_of_entry_name(entry.name);
        return day >= m_request.today && day <= m_horizon &&
               std::none_of(plan.entries.begin(), plan.entries.end(),
                            [&](const PlannedEntry& planned) { return same(entry, planned); });
    });
    return plan.error.empty() && !lacks_one && !has_more ? SideChange::unchanged : SideChange::changed;
}

// Removals that would take most of what the last sync saw are kept for a sync that accepts them:
// the event stays in the state as it was, so the next sync finds the same removal again.
void Sync::hold_mass_removals(std::vector<Decision>& decisions) {
    const auto count = [&](SyncAction action) {
        return std::size_t(std::count_if(decisions.begin(), decisions.end(),
                                         [&](const Decision& decision) { return decision.action == action; }));
    };
    const std::size_t seen = m_old.items.size();
    const bool hold_here = mass_removal(count(SyncAction::remove_here), seen);
    const bool hold_there = mass_removal(count(SyncAction::remove_there), seen);
    for (Decision& decision : decisions) {
        if (hold_here && decision.action == SyncAction::remove_here) {
            ++m_report.held_here;
            decision.action = SyncAction::record;
        } else if (hold_there && decision.action == SyncAction::remove_there) {
            ++m_report.held_there;
            decision.action = SyncAction::record;
            decision.item = decision.as_before();
        }
    }
}

void Sync::apply(Decision decision) {
    SyncedItem& item = decision.item;
    switch (decision.action) {
        case SyncAction::nothing:
        case SyncAction::record:
            if (item.repeats && item.horizon < m_horizon) refill(item, Refill::extend);
            m_new.items.push_back(std::move(item));
            return;
        case SyncAction::replace_here:
            refill(item, Refill::replace);
            m_new.items.push_back(std::move(item));
            return;
        case SyncAction::remove_here:
            return remove_here(std::move(item));
        case SyncAction::remove_there:
            if (remove_vdir_item(m_request.vdir, item.vdir_name)) {
                ++m_report.removed_there;
                m_vdir.erase(item.vdir_name);
                return;
            }
            m_report.failures.push_back(event_failure(item.vdir_name, "it could not be removed"));
            m_new.items.push_back(decision.as_before());
            return;
        case SyncAction::send:     // new items only, sent below
        case SyncAction::receive:  // new items only, received below
        case SyncAction::forget:
            return;
    }
}

// The entries of a removed event go; those the trash does not take stay in the state with the
// event marked gone, so that the next sync tries again instead of sending them back.
void Sync::remove_here(SyncedItem item) {
    std::vector<SyncedEntry> left;
    for (const SyncedEntry& entry : item.entries)
        if (remove_entry_file(m_request.diary, entry.name, m_request.dispose) != StoreError::none) {
            m_report.failures.push_back(event_failure(item.vdir_name, "its entry " + entry.name + " could not be removed"));
            left.push_back(entry);
        }
    if (left.empty()) {
        ++m_report.removed_here;
        return;
    }
    item.entries = std::move(left);
    item.vdir_etag = {};
    m_new.items.push_back(std::move(item));
}

void Sync::receive(const std::string& vdir_name) {
    if (!fetch(vdir_name)) return m_report.failures.push_back(event_failure(vdir_name, "it cannot be read"));
    SyncedItem item{.vdir_name = vdir_name};
    refill(item, Refill::receive);
    m_new.items.push_back(std::move(item));
}

// Makes the event's entries as its file plans them from today on. An entry of the event alike a
// planned one stays; an entry alike that no event stands for is taken; only the rest is made.
// Of a changed event, its entries from today on that it no longer plans go; its entries of days
// passed stay. A planned entry that cannot be made is tried again at the next sync.
void Sync::refill(SyncedItem& item, Refill mode) {
    const VdirRead* read = fetch(item.vdir_name);
    if (!read) return m_report.failures.push_back(event_failure(item.vdir_name, "it cannot be read"));
    const std::uint64_t hash = content_hash(read->text);
    if (mode == Refill::extend && hash != item.vdir_hash) mode = Refill::replace;  // changed while read
    const DayNumber horizon = item.horizon;
    item.vdir_etag = read->etag;
    item.vdir_hash = hash;
    const CalendarPlan plan = plan_calendar(read->text, m_request.today, {.until = m_horizon});
    if (!plan.error.empty()) return m_report.failures.push_back(event_failure(item.vdir_name, plan.error));
    const std::size_t made_before = m_made;
    std::vector<SyncedEntry> own = std::move(item.entries);
    std::vector<SyncedEntry> entries;
    bool complete = true;
    for (const PlannedEntry& planned : plan.entries)
        if (mode != Refill::extend || planned.day > horizon) complete = take(planned, item, plan, own, entries) && complete;
    let_go(own, mode, entries);
    item.entries = std::move(entries);
    item.horizon = m_horizon;
    item.repeats = !plan.open_repeats.empty();
    item.retry = !complete;
    if (mode == Refill::extend) return;
    m_report.altered.insert(m_report.altered.end(), plan.altered.begin(), plan.altered.end());
    for (const SkippedItem& skipped : plan.skipped)
        if (skipped.reason != SkipReason::past && skipped.reason != SkipReason::already_there)
            m_report.not_taken.push_back(skipped);
    // An event paired with entries alike that were there already brings nothing new.
    if (complete && (mode == Refill::replace || m_made > made_before) && m_counted.insert(item.vdir_name).second)
        ++m_report.received;
}

// One planned entry: the event's own alike, else an entry alike no event stands for, else a new
// one that names its event. False when it could not be made.
bool Sync::take(const PlannedEntry& planned, const SyncedItem& item, const CalendarPlan& plan,
                std::vector<SyncedEntry>& own, std::vector<SyncedEntry>& entries) {
    const std::uint64_t key = entry_key(planned.record);
    const auto alike = std::find_if(own.begin(), own.end(), [&](const SyncedEntry& entry) {
        return entry.key == key && day_of_entry_name(entry.name) == planned.day;
    });
    if (alike != own.end()) {
        entries.push_back(*alike);
        own.erase(alike);
        return true;
    }
    std::optional<SyncedEntry> entry = claim_alike(planned.day, key);
    if (!entry) {
        EntryRecord record = planned.record;
        record.event = event_tag(item.vdir_name);
        const AddedEntry added = m_new_entries.add(planned.day, record);
        if (added.error != StoreError::none) {
            m_report.not_taken.push_back({plan.summaries[planned.event], report_date(plain_day_of(planned.day)), SkipReason::day_full});
            return false;
        }
        ++m_made;
        m_made_entries.push_back({item.vdir_name, added.name, plan.summaries[planned.event], planned.day});
        // Not on disk until the batch is written: what it will hold is known already.
        DiaryFile& file = m_diary[added.name];
        file.read = true;
        file.record = record;
        entry = claimed_entry(added.name, key);
    }
    entries.push_back(*entry);
    if (planned.record.yearly != EntryRecord::not_yearly) claim_forerunners(planned.day, key, entries);
    return true;
}

// The event's entries that no planned entry took: those of a changed event from today on go to
// the trash, and so does a passed yearly entry still to be carried over, whose copy would bring
// the old date back next year; the rest stay the event's.
void Sync::let_go(std::vector<SyncedEntry>& own, Refill mode, std::vector<SyncedEntry>& entries) {
    for (SyncedEntry& entry : own) {
        const std::optional<EntryRecord>& record = record_of(entry.name);
        const bool to_renew = record && record->yearly == EntryRecord::yearly_pending;
        const bool goes = mode == Refill::replace && (day_of_entry_name(entry.name) >= m_request.today || to_renew);
        if (goes && remove_entry_file(m_request.diary, entry.name, m_request.dispose) == StoreError::none) continue;
        if (goes) m_report.failures.push_back("the entry " + entry.name + ": it could not be removed");
        entries.push_back(std::move(entry));
    }
}

// An entry no event stands for becomes one, unless its day has passed and it is not to be carried
// over to next year: the phone need not learn of what is over, and an entry of a day passed that
// the state no longer knows may well be the entry of an event received before (its plan, made
// from today on, no longer claims it). A yearly entry is claimed by its event's later years.
void Sync::send(const std::string& name) {
    const std::optional<EntryRecord>& record = record_of(name);
    if (!record) return m_report.failures.push_back("the entry " + name + ": it cannot be read");
    if (day_of_entry_name(name) < m_request.today && record->yearly != EntryRecord::yearly_pending) return;
    const EntryEvent event = entry_event(m_request.diary, name, *record);
    const std::string vdir_name = vdir_name_for_uid(event.uid);
    if (join_earlier_year(vdir_name, name, *record)) return;
    // A file of that name that no entry matched belongs to someone else: never overwritten.
    if (m_vdir.contains(vdir_name))
        return m_report.failures.push_back(entry_failure(name, *record, "the file name of its event, " + vdir_name +
                                                                            ", is another event's"));
    const std::optional<Etag> etag = m_new_events.add(vdir_name, event.text);
    if (!etag) return m_report.failures.push_back(entry_failure(name, *record, "its event could not be written"));
    m_vdir.emplace(vdir_name, VdirFile{*etag, true});
    m_sent_events.push_back({vdir_name, name});
    m_new.items.push_back({.vdir_name = vdir_name, .vdir_etag = *etag, .vdir_hash = content_hash(event.text),
                           .entries = {claimed_entry(name, entry_key(*record))}});
    ++m_report.sent;
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

// The copy of a yearly entry that the closes carried over, a year on or, when the copy was itself
// carried over and purged since, further: the same event still.
std::optional<SyncedEntry> Sync::claim_copy(const SyncedEntry& passed) {
    for (std::optional<NextYear> next = next_year(day_to_date(day_of_entry_name(passed.name)));
         next && next->day <= m_horizon; next = next_year(next->date))
        if (std::optional<SyncedEntry> copy = claim_alike(next->day, passed.key)) return copy;
    return std::nullopt;
}

// An entry on the day that no event stands for yet and says what `key` says.
std::optional<SyncedEntry> Sync::claim_alike(DayNumber day, std::uint64_t key) {
    for (int slot = 0; slot < slots_per_day; ++slot) {
        const std::string name = entry_file_name(day, slot);
        const auto file = m_diary.find(name);
        if (file == m_diary.end() || file->second.claimed) continue;
        const std::optional<EntryRecord>& record = record_of(name);
        if (record && entry_key(*record) == key) return claimed_entry(name, key);
    }
    return std::nullopt;
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

SyncedEntry Sync::claimed_entry(const std::string& name, std::uint64_t key) {
    DiaryFile& file = m_diary[name];
    file.claimed = true;
    return {name, file.etag, key};
}

const std::optional<EntryRecord>& Sync::record_of(const std::string& name) {
    DiaryFile& file = m_diary[name];
    if (!file.read) file.record = read_entry(m_request.diary, name);
    file.read = true;
    return file.record;
}

// The vdir item as read once in this sync, with the etag of what was read.
const VdirRead* Sync::fetch(const std::string& vdir_name) {
    if (const auto found = m_read.find(vdir_name); found != m_read.end()) return &found->second;
    std::optional<VdirRead> read = read_vdir_item(m_request.vdir, vdir_name);
    if (!read) return nullptr;
    return &m_read.emplace(vdir_name, std::move(*read)).first->second;
}

// Writes the entries made and gives each, in the state, the file it got: its etag, and its name
// where another program took its slot meanwhile. An entry that could not be written leaves its
// event to be made again at the next sync; so does one whose name a crash could yet take, since
// the folder could not be flushed: left out of the state, it is found alike and taken again.
void Sync::write_made() {
    if (m_made_entries.empty()) return;
    const BatchOutcome outcome = m_new_entries.write();
    const bool lasting = outcome.names_error == 0;
    if (!lasting) m_report.failures.push_back("the new entries: the diary's folder could not be flushed to disk");
    std::map<std::string, std::size_t> item_at;
    for (std::size_t at = 0; at < m_new.items.size(); ++at) item_at.emplace(m_new.items[at].vdir_name, at);
    for (std::size_t index = 0; index < m_made_entries.size(); ++index) {
        const MadeEntry& made = m_made_entries[index];
        if (const auto item = item_at.find(made.vdir_name); item != item_at.end())
            settle_made(made, outcome.entries[index], lasting, m_new.items[item->second]);
    }
}

void Sync::settle_made(const MadeEntry& made, const PlacedEntry& placed, bool lasting, SyncedItem& item) {
    const auto entry = std::find_if(item.entries.begin(), item.entries.end(),
                                    [&](const SyncedEntry& synced) { return synced.name == made.name; });
    if (entry == item.entries.end()) return;
    if (placed.error == StoreError::none && lasting) {
        entry->name = placed.name;
        entry->etag = etag_of(m_request.diary / placed.name);
        return;
    }
    item.entries.erase(entry);
    item.retry = true;
    if (m_counted.erase(item.vdir_name) > 0) --m_report.received;
    if (placed.error == StoreError::day_full)
        m_report.not_taken.push_back({made.summary, report_date(plain_day_of(made.day)), SkipReason::day_full});
    else if (placed.error != StoreError::none)
        m_report.failures.push_back("the event \"" + made.summary + "\" of " + report_date(plain_day_of(made.day)) +
                                    ": its entry could not be written");
}

// Writes the events sent; one that could not be written leaves its entry to be sent again.
void Sync::write_sent() {
    const std::vector<std::string> failed = m_new_events.place();
    if (failed.empty()) return;
    const std::set<std::string> unsent(failed.begin(), failed.end());
    for (const SentEvent& sent : m_sent_events) {
        if (!unsent.contains(sent.vdir_name)) continue;
        --m_report.sent;
        m_report.failures.push_back(entry_failure(sent.entry, *record_of(sent.entry), "its event could not be written"));
    }
    std::erase_if(m_new.items, [&](const SyncedItem& item) { return unsent.contains(item.vdir_name); });
}

}  // namespace

SyncReport sync_vdir(const SyncRequest& request) {
    SyncReport report;
    Sync(request, report).run();
    return report;
}

}  // namespace daybrook
