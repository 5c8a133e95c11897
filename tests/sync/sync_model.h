// A model-based check of the sync: two diaries, A and B, and a phone share one vdir; seeded
// sequences of what their users do (entries added and deleted, events added, edited and removed
// on the phone, closes, nights passing, the sync's state lost, syncs on a clock a day behind)
// run against the real sync and a model of the events that should live, side by side. After
// every sync and whenever the two diaries have been synced until nothing moves, the sides must
// agree with the model. A sequence that breaks a rule is shrunk to the fewest operations that
// still break it, for a person to read.
//
// Operations pick what they touch (which event, which day) at the time they run, from what the
// model holds then, so that any sequence of operations can run, and dropping one from a sequence
// leaves a sequence that still makes sense. Two operations on one event always have a sync of
// both diaries until nothing moves between them, so the model knows what each side must show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace daybrook::sync_model {

enum class OpKind : std::uint8_t {
    add_entry,      // a user adds an entry on a day of the next 40
    delete_entry,   // a user deletes the entry of an event that is in step
    phone_add,      // the phone adds an event, once or every week without end
    phone_delete,   // the phone removes an event
    phone_edit,     // the phone gives an event another summary or another day
    close,          // the diary closes: purge of old entries, yearly entries renewed
    next_days,      // both diaries close, and one to 40 days pass
    damage_state,   // the diary's sync state is deleted or cut short
    sync,           // one sync of one diary
    quiet,          // both diaries synced in turn until nothing moves
};

enum class Side : std::uint8_t { a, b };

// Bits of Op::flags; each operation reads those that mean something to it.
namespace op_flag {
inline constexpr std::uint8_t trailing_space = 1;  // add_entry: the memo ends in a space
inline constexpr std::uint8_t red = 2;             // add_entry, phone_add: a red-letter day
inline constexpr std::uint8_t repeats = 4;         // add_entry: yearly (with `also`); phone_add: weekly
inline constexpr std::uint8_t also = 8;            // add_entry: yearly; sync: clock a day behind;
                                                   // damage_state: cut short; phone_edit: new day
}  // namespace op_flag

struct Op {
    OpKind kind = OpKind::quiet;
    Side side = Side::a;
    std::uint8_t flags = 0;
    std::uint8_t pick = 0;    // which event or which day offset
    std::uint8_t amount = 0;  // days to move on, or another day offset
};

// Each operation is made from this many bytes, by random numbers or by a fuzzer.
inline constexpr std::size_t op_size = 4;

Op op_of(std::span<const std::uint8_t, op_size> bytes);

// The operations of as many whole groups of op_size bytes as there are, up to `most`.
std::vector<Op> ops_of(std::span<const std::uint8_t> bytes, std::size_t most);

// 20 to 40 operations made from the seed.
std::vector<Op> random_ops(std::uint32_t seed);

enum class Invariant {
    runs_clean,          // every sync and close reports no failure and no refusal, and the
                         // syncs come to rest within six rounds
    no_loss_no_double,   // A, B and the vdir show exactly the model's events from today on
    purge_no_deletion,   // a vdir item goes only when its event was deleted
    endless_repeats,     // a weekly event without end keeps every day up to today + 300
};

std::string_view name_of(Invariant invariant);

struct Broken {
    Invariant invariant = Invariant::runs_clean;
    std::size_t op = 0;  // the index of the operation that broke it; the size of the sequence
                         // for the closing sync until nothing moves
    std::string detail;
};

struct Outcome {
    std::optional<Broken> broken;
    // What each operation did, in words, with the days it chose; operations that found
    // nothing to act on are left out.
    std::vector<std::string> trace;
};

// Runs the operations, and then both diaries synced until nothing moves, in fresh folders.
Outcome run_ops(const std::vector<Op>& ops);

// The operations less every one that can be dropped with the same invariant still broken.
std::vector<Op> shrink(std::vector<Op> ops, Invariant invariant);

// The broken invariant, the operations in words and what broke, for a person to read.
std::string failure_text(const std::vector<Op>& ops);

// A folder in memory for the runs' temporary folders (TMPDIR), where the system has one: a
// sequence writes and flushes thousands of small files, which on a disk take a hundred times
// as long and test nothing more of the sync.
std::optional<std::string> memory_folder();

}  // namespace daybrook::sync_model
