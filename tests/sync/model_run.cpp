// The run of one sequence of operations against the real sync and the model, and the checks of
// the sides against the model.
#include <algorithm>
#include <exception>
#include <filesystem>
#include <functional>

#include "store/entry_files.h"
#include "store/keep_code.h"
#include "store/retention.h"
#include "support/environment_guard.h"
#include "support/temp_dir.h"
#include "sync/phone_calendar.h"
#include "sync/sync_model.h"
#include "sync/sync_run.h"
#include "sync/state_file.h"

namespace daybrook::sync_model {
namespace {

using daybrook::testing::TempDir;

constexpr DayNumber first_day = 20807;  // 20/12/26: a year's end comes soon
constexpr DayNumber checked_days = 300;
constexpr DayNumber days_ahead = 40;  // how far ahead users and the phone put new events
constexpr int most_rounds = 6;
// Fewer than a day's ten slots, so that no event is ever left out for a full day.
constexpr int most_on_a_day = 8;
// Deleting one of fewer events would remove most of what the last sync saw, which the sync may
// hold back: such mass removals are no part of these sequences.
constexpr int fewest_for_a_deletion = 3;
constexpr std::size_t most_listed = 8;

struct ModelEvent {
    std::string memo;  // as shown, without the trailing space a user may have typed
    bool red = false;
    Repeat repeat = Repeat::once;
    DayNumber day = 0;      // the first day
    std::string vdir_name;  // known once the event is in the vdir
    bool live = true;
    bool touched = true;  // changed since both diaries were last synced until nothing moved
};

std::string side_name(Side side) { return side == Side::a ? "A" : "B"; }

std::string occurrence_text(const Occurrence& occurrence) {
    return day_to_date(occurrence.day) + " \"" + occurrence.memo + "\"" + (occurrence.red ? " [red]" : "");
}

// The occurrences of `from` that `without` lacks, as many times as they are lacking.
std::vector<Occurrence> lacking(const std::vector<Occurrence>& from, const std::vector<Occurrence>& without) {
    std::vector<Occurrence> result;
    std::set_difference(from.begin(), from.end(), without.begin(), without.end(), std::back_inserter(result));
    return result;
}

std::string listed(const std::vector<Occurrence>& occurrences) {
    std::string text;
    for (std::size_t i = 0; i < occurrences.size() && i < most_listed; ++i)
        text += (i ? ", " : "") + occurrence_text(occurrences[i]);
    if (occurrences.size() > most_listed) text += " and " + std::to_string(occurrences.size() - most_listed) + " more";
    return text;
}

// What a side shows apart from what it should; empty when it shows just that.
std::string differences(const std::vector<Occurrence>& wanted, const std::vector<Occurrence>& shown) {
    const std::vector<Occurrence> missing = lacking(wanted, shown);
    const std::vector<Occurrence> extra = lacking(shown, wanted);
    std::string text;
    if (!missing.empty()) text += " lacks " + listed(missing) + ";";
    if (!extra.empty()) text += " has besides " + listed(extra) + ";";
    return text;
}

class ModelRun {
public:
    Outcome run(const std::vector<Op>& ops);

private:
    void apply(const Op& op);
    void user_adds(const Op& op);
    void user_deletes(const Op& op);
    void phone_adds(const Op& op);
    void phone_deletes(const Op& op);
    void phone_edits(const Op& op);
    void close(Side side);
    void days_pass(const Op& op);
    void damage_state(const Op& op);
    bool sync(Side side, DayNumber day, const std::string& indent);
    void quiet();
    void settle();
    void check_vdir_items();
    void check_endless_repeats();
    void check_sides();
    ModelEvent* pick(std::uint8_t pick, const std::function<bool(const ModelEvent&)>& fits);
    bool may_delete() const;
    bool room_for(DayNumber day, Repeat repeat) const;
    std::vector<DayNumber> days_in_range(const ModelEvent& event) const;
    std::vector<Occurrence> model_occurrences() const;
    std::vector<Occurrence> diary_occurrences(Side side) const;
    const TempDir& diary(Side side) const { return side == Side::a ? m_a : m_b; }
    void note(std::string line) { m_outcome.trace.push_back(std::move(line)); }
    void fail(Invariant invariant, std::string detail);

    TempDir m_a;
    TempDir m_b;
    TempDir m_vdir;
    DayNumber m_today = first_day;
    std::vector<ModelEvent> m_events;
    int m_serial = 0;
    // Since both diaries were last in step: an event was deleted; a diary's sync state was lost.
    // Without its state a diary cannot tell a deletion from a folder new to it, and sends the
    // entries of a deleted event back, as vdirsyncer does with a lost status: so a state is lost
    // only between syncs that see no deletion, and those cases alone keep the model exact.
    bool m_deleted = false;
    bool m_state_lost = false;
    std::size_t m_op = 0;
    Outcome m_outcome;
};

Outcome ModelRun::run(const std::vector<Op>& ops) {
    try {
        for (m_op = 0; m_op < ops.size() && !m_outcome.broken; ++m_op) apply(ops[m_op]);
        if (!m_outcome.broken) quiet();
    } catch (const std::exception& error) {
        fail(Invariant::runs_clean, std::string("an exception: ") + error.what());
    }
    return std::move(m_outcome);
}

void ModelRun::apply(const Op& op) {
    switch (op.kind) {
        case OpKind::add_entry: return user_adds(op);
        case OpKind::delete_entry: return user_deletes(op);
        case OpKind::phone_add: return phone_adds(op);
        case OpKind::phone_delete: return phone_deletes(op);
        case OpKind::phone_edit: return phone_edits(op);
        case OpKind::close: return close(op.side);
        case OpKind::next_days: return days_pass(op);
        case OpKind::damage_state: return damage_state(op);
        case OpKind::sync: {
            const bool behind = op.flags & op_flag::also;
            sync(op.side, m_today - (behind ? 1 : 0), behind ? "(clock a day behind) " : "");
            return;
        }
        case OpKind::quiet: return quiet();
    }
}

void ModelRun::user_adds(const Op& op) {
    const DayNumber day = m_today + op.pick % (days_ahead + 1);
    const CalendarDate date = day_to_calendar(day);
    const std::uint8_t yearly_flags = op_flag::repeats | op_flag::also;
    const bool yearly = (op.flags & yearly_flags) == yearly_flags && may_repeat_yearly(date.day, date.month);
    const Repeat repeat = yearly ? Repeat::yearly : Repeat::once;
    if (!room_for(day, repeat)) return;
    const std::string memo = side_name(op.side) + std::to_string(++m_serial) + " lunch";
    EntryRecord record;
    record.text = memo + (op.flags & op_flag::trailing_space ? " " : "");
    record.red = op.flags & op_flag::red ? 1 : 0;
    record.yearly = yearly ? EntryRecord::yearly_pending : EntryRecord::not_yearly;
    if (add_entry(diary(op.side).path(), day, record).error != StoreError::none)
        return fail(Invariant::runs_clean, "the entry " + memo + " could not be added");
    m_events.push_back({memo, record.red != 0, repeat, day});
    note(side_name(op.side) + " adds \"" + record.text + "\" on " + day_to_date(day) + (record.red ? " red" : "") +
         (yearly ? " yearly" : ""));
}

// Only an event with one entry in the days shown: a single day or a yearly one.
void ModelRun::user_deletes(const Op& op) {
    if (!may_delete() || m_state_lost) return;
    ModelEvent* event = pick(op.pick, [&](const ModelEvent& e) {
        return e.repeat != Repeat::weekly && !days_in_range(e).empty();
    });
    if (!event) return;
    const DayNumber day = days_in_range(*event).front();
    for (const SlotEntry& entry : slot_entries(diary(op.side).path(), day)) {
        if (trimmed(entry.record.text) != event->memo) continue;
        const std::string name = entry_file_name(day, entry.slot);
        if (remove_entry_file(diary(op.side).path(), name) != StoreError::none)
            return fail(Invariant::runs_clean, "the entry " + name + " could not be deleted");
        event->live = false;
        event->touched = true;
        m_deleted = true;
        return note(side_name(op.side) + " deletes " + name + " \"" + event->memo + "\"");
    }
}

void ModelRun::phone_adds(const Op& op) {
    const bool weekly = op.flags & op_flag::repeats;
    // A weekly event may have begun some weeks ago.
    const DayNumber day = m_today + op.pick % (days_ahead + 1) - (weekly ? 14 : 0);
    const Repeat repeat = weekly ? Repeat::weekly : Repeat::once;
    if (!room_for(day, repeat)) return;
    const std::string uid = "phone-" + std::to_string(++m_serial);
    const std::string memo = "P" + std::to_string(m_serial) + (weekly ? " swim" : " call");
    const bool red = op.flags & op_flag::red;
    write_like_a_phone(m_vdir.path(), uid + ".ics", phone_event_text({uid, day, memo, repeat, red}));
    m_events.push_back({memo, red, repeat, day, uid + ".ics"});
    note("the phone adds \"" + memo + "\" on " + day_to_date(day) + (red ? " red" : "") + (weekly ? " weekly" : ""));
}

void ModelRun::phone_deletes(const Op& op) {
    if (!may_delete() || m_state_lost) return;
    ModelEvent* event = pick(op.pick, [](const ModelEvent& e) { return !e.vdir_name.empty(); });
    if (!event) return;
    std::filesystem::remove(m_vdir / event->vdir_name);
    event->live = false;
    event->touched = true;
    m_deleted = true;
    note("the phone deletes " + event->vdir_name + " \"" + event->memo + "\"");
}

void ModelRun::phone_edits(const Op& op) {
    ModelEvent* event = pick(op.pick, [](const ModelEvent& e) { return !e.vdir_name.empty(); });
    if (!event) return;
    const std::optional<PhoneEvent> before = read_event(m_vdir.read(event->vdir_name));
    if (!before) return fail(Invariant::runs_clean, "the vdir item " + event->vdir_name + " has no date");
    PhoneEvent after{before->uid, event->day, event->memo, event->repeat, event->red};
    if (op.flags & op_flag::also) {
        after.day = m_today + op.amount % (days_ahead + 1);
        const CalendarDate date = day_to_calendar(after.day);
        if (event->repeat == Repeat::yearly && !may_repeat_yearly(date.day, date.month)) ++after.day;
        if (!room_for(after.day, event->repeat)) return;
    } else {
        after.summary = "P" + std::to_string(++m_serial) + " edited";
    }
    write_like_a_phone(m_vdir.path(), event->vdir_name, phone_event_text(after));
    note("the phone changes " + event->vdir_name + " \"" + event->memo + "\" to \"" + after.summary + "\" on " +
         day_to_date(after.day));
    event->memo = after.summary;
    event->day = after.day;
    event->touched = true;
}

void ModelRun::close(Side side) {
    const PurgeReport report = purge_old(diary(side).path(), m_today, KeepCode::week);
    note(side_name(side) + " closes on " + day_to_date(m_today) + ": " + std::to_string(report.deleted.size()) +
         " purged, " + std::to_string(report.renewed.size()) + " renewed");
    if (!report.store_locked || !report.delete_failed.empty() || !report.kept_unrenewed.empty())
        fail(Invariant::runs_clean, side_name(side) + "'s close did not finish");
}

// The user closes both diaries at night, as every day.
void ModelRun::days_pass(const Op& op) {
    close(Side::a);
    close(Side::b);
    const DayNumber days = 1 + op.amount % days_ahead;
    m_today += days;
    note(std::to_string(days) + " days pass: today is " + day_to_date(m_today));
}

void ModelRun::damage_state(const Op& op) {
    const std::filesystem::path state = diary(op.side) / std::string(sync_state_file);
    if (m_deleted || !std::filesystem::exists(state)) return;
    m_state_lost = true;
    if (op.flags & op_flag::also) {
        std::filesystem::resize_file(state, std::filesystem::file_size(state) / 2);
        return note(side_name(op.side) + "'s sync state is cut short");
    }
    std::filesystem::remove(state);
    note(side_name(op.side) + "'s sync state is deleted");
}

// One sync; whether it moved anything.
bool ModelRun::sync(Side side, DayNumber day, const std::string& indent) {
    const testing::EnvironmentGuard zone(testing::EnvironmentGuard::Values{{"TZ", "UTC0"}});
    const SyncReport report = sync_vdir({.diary = diary(side).path(),
                                         .vdir = m_vdir.path(),
                                         .today = day,
                                         .dispose = [](const std::string& path) { return std::filesystem::remove(path); }});
    note(indent + "sync " + side_name(side) + " on " + day_to_date(day) + ": " + summary_line(report) +
         (report.state_damaged ? " (state damaged)" : ""));
    std::string failures;
    for (const std::string& failure : report.failures) failures += " " + failure;
    if (!report.error.empty()) fail(Invariant::runs_clean, side_name(side) + "'s sync refused: " + report.error);
    else if (!failures.empty()) fail(Invariant::runs_clean, side_name(side) + "'s sync failed on" + failures);
    else check_vdir_items();
    return report.sent + report.received + report.removed_here + report.removed_there > 0;
}

void ModelRun::quiet() {
    note("A and B sync in turn until nothing moves:");
    for (int round = 0; round < most_rounds; ++round) {
        bool moved = false;
        for (const Side side : {Side::a, Side::b}) {
            moved = sync(side, m_today, "  ") || moved;
            if (m_outcome.broken) return;
        }
        if (!moved) return settle();
    }
    fail(Invariant::runs_clean, "the syncs still move events after " + std::to_string(most_rounds) + " rounds");
}

// Both sides in step: the model learns the vdir items of the diaries' events, and every side
// must show what the model holds.
void ModelRun::settle() {
    for (ModelEvent& event : m_events) {
        if (event.live && event.vdir_name.empty()) event.vdir_name = vdir_item_with_summary(m_vdir.path(), event.memo);
        event.touched = false;
    }
    m_deleted = m_state_lost = false;
    check_endless_repeats();
    if (!m_outcome.broken) check_sides();
}

void ModelRun::check_vdir_items() {
    for (const ModelEvent& event : m_events)
        if (event.live && !event.vdir_name.empty() && !m_vdir.exists(event.vdir_name))
            return fail(Invariant::purge_no_deletion,
                        "the vdir lost " + event.vdir_name + " \"" + event.memo + "\", which nobody deleted");
}

void ModelRun::check_endless_repeats() {
    std::vector<Occurrence> wanted;
    for (const ModelEvent& event : m_events)
        if (event.live && event.repeat == Repeat::weekly)
            for (const DayNumber day : days_in_range(event)) wanted.push_back({day, event.memo, event.red});
    std::sort(wanted.begin(), wanted.end());
    for (const Side side : {Side::a, Side::b}) {
        const std::vector<Occurrence> missing = lacking(wanted, diary_occurrences(side));
        if (!missing.empty()) return fail(Invariant::endless_repeats, side_name(side) + " lacks " + listed(missing));
    }
}

void ModelRun::check_sides() {
    const std::vector<Occurrence> wanted = model_occurrences();
    const std::pair<std::string, std::vector<Occurrence>> sides[] = {
        {"A", diary_occurrences(Side::a)},
        {"B", diary_occurrences(Side::b)},
        {"the vdir", vdir_occurrences(m_vdir.path(), m_today, m_today + checked_days)},
    };
    for (const auto& [name, shown] : sides) {
        const std::string gap = differences(wanted, shown);
        if (!gap.empty()) return fail(Invariant::no_loss_no_double, name + gap);
    }
}

// An event of the model, live and untouched since both diaries were last in step, that fits;
// the pick chooses among them.
ModelEvent* ModelRun::pick(std::uint8_t pick, const std::function<bool(const ModelEvent&)>& fits) {
    std::vector<ModelEvent*> candidates;
    for (ModelEvent& event : m_events)
        if (event.live && !event.touched && fits(event)) candidates.push_back(&event);
    if (candidates.empty()) return nullptr;
    return candidates[pick % candidates.size()];
}

bool ModelRun::may_delete() const {
    const auto in_vdir = std::count_if(m_events.begin(), m_events.end(),
                                       [](const ModelEvent& e) { return e.live && !e.vdir_name.empty(); });
    return !m_deleted && in_vdir >= fewest_for_a_deletion;
}

bool ModelRun::room_for(DayNumber day, Repeat repeat) const {
    for (const DayNumber wanted : occurrence_days(day, repeat, m_today, m_today + sync_horizon_days)) {
        int taken = 0;
        for (const ModelEvent& event : m_events)
            if (event.live) taken += int(occurrence_days(event.day, event.repeat, wanted, wanted).size());
        if (taken >= most_on_a_day) return false;
    }
    return true;
}

std::vector<DayNumber> ModelRun::days_in_range(const ModelEvent& event) const {
    return occurrence_days(event.day, event.repeat, m_today, m_today + checked_days);
}

std::vector<Occurrence> ModelRun::model_occurrences() const {
    std::vector<Occurrence> wanted;
    for (const ModelEvent& event : m_events)
        if (event.live)
            for (const DayNumber day : days_in_range(event)) wanted.push_back({day, event.memo, event.red});
    std::sort(wanted.begin(), wanted.end());
    return wanted;
}

std::vector<Occurrence> ModelRun::diary_occurrences(Side side) const {
    std::vector<Occurrence> shown;
    for (const std::string& name : list_entry_files(diary(side).path())) {
        const DayNumber day = day_of_entry_name(name);
        if (day < m_today || day > m_today + checked_days) continue;
        const std::optional<EntryRecord> record = read_entry(diary(side).path(), name);
        if (record) shown.push_back({day, trimmed(record->text), record->red != 0});
        else shown.push_back({day, name + " unreadable", false});
    }
    std::sort(shown.begin(), shown.end());
    return shown;
}

void ModelRun::fail(Invariant invariant, std::string detail) {
    if (!m_outcome.broken) m_outcome.broken = Broken{invariant, m_op, std::move(detail)};
}

}  // namespace

Outcome run_ops(const std::vector<Op>& ops) {
    return ModelRun().run(ops);
}

}  // namespace daybrook::sync_model
