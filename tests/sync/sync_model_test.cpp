#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/environment_guard.h"
#include "sync/sync_model.h"

namespace daybrook::sync_model {
namespace {

constexpr std::uint32_t sequences = 200;

testing::EnvironmentGuard::Values in_memory() {
    if (const std::optional<std::string> folder = memory_folder()) return {{"TMPDIR", *folder}};
    return {};
}

// Everyday use without mishaps: the model itself must find all sides in step, or its findings
// on the random sequences would mean nothing.
TEST(SyncModel, FindsEverySideInStepAfterEverydayUse) {
    const std::vector<Op> ops = {
        {.kind = OpKind::add_entry, .side = Side::a, .pick = 3},
        {.kind = OpKind::add_entry, .side = Side::b, .flags = op_flag::red | op_flag::repeats | op_flag::also, .pick = 9},
        {.kind = OpKind::phone_add, .flags = op_flag::repeats, .pick = 20},
        {.kind = OpKind::phone_add, .pick = 30},
        {.kind = OpKind::quiet},
        {.kind = OpKind::phone_edit, .pick = 1, .amount = 12},
        {.kind = OpKind::quiet},
        {.kind = OpKind::delete_entry, .side = Side::b, .pick = 0},
        {.kind = OpKind::quiet},
        {.kind = OpKind::next_days, .amount = 9},
        {.kind = OpKind::add_entry, .side = Side::b, .pick = 1},
    };
    const testing::EnvironmentGuard temporary_folders(in_memory());
    const Outcome outcome = run_ops(ops);
    EXPECT_FALSE(outcome.broken) << failure_text(ops);
}

// Short sequences, each the shortest that a random one shrank to, kept so that each mishap is
// tried on its own, in a fraction of a second.
TEST(SyncModel, KeepsTheSidesInStepThroughEachShortMishap) {
    using namespace op_flag;
    struct Case {
        std::string name;
        std::vector<Op> ops;
    };
    const std::vector<Case> cases = {
        {"a memo ending in a space, synced again without the state",
         {{.kind = OpKind::add_entry, .flags = trailing_space, .pick = 35},
          {.kind = OpKind::sync},
          {.kind = OpKind::damage_state}}},
        {"a weekly event moved on the phone while a diary's state is lost",
         {{.kind = OpKind::phone_add, .flags = repeats, .pick = 18},
          {.kind = OpKind::quiet},
          {.kind = OpKind::damage_state, .side = Side::b, .flags = also},
          {.kind = OpKind::phone_edit, .flags = also, .amount = 3}}},
        {"a moved event's entry deleted in the diary, its day passed before it left one behind",
         {{.kind = OpKind::phone_add, .pick = 2},
          {.kind = OpKind::phone_add, .pick = 10},
          {.kind = OpKind::phone_add, .pick = 20},
          {.kind = OpKind::quiet},
          {.kind = OpKind::next_days, .amount = 3},
          {.kind = OpKind::phone_edit, .flags = also, .amount = 5},
          {.kind = OpKind::quiet},
          {.kind = OpKind::delete_entry}}},
        {"the purge after a close, then a sync on a clock a day behind",
         {{.kind = OpKind::add_entry, .pick = 1},
          {.kind = OpKind::quiet},
          {.kind = OpKind::next_days, .amount = 10},
          {.kind = OpKind::close},
          {.kind = OpKind::sync, .flags = also}}},
        {"every entry purged after a month away",
         {{.kind = OpKind::add_entry, .pick = 4},
          {.kind = OpKind::add_entry, .side = Side::b, .flags = red},
          {.kind = OpKind::quiet},
          {.kind = OpKind::next_days, .amount = 21},
          {.kind = OpKind::next_days, .amount = 29}}},
        {"a weekly event without end, the days moving on past its first year",
         {{.kind = OpKind::phone_add, .flags = repeats, .pick = 18},
          {.kind = OpKind::sync, .side = Side::b, .flags = also},
          {.kind = OpKind::next_days, .amount = 16},
          {.kind = OpKind::next_days, .amount = 25},
          {.kind = OpKind::next_days, .amount = 10},
          {.kind = OpKind::next_days, .amount = 22}}},
    };
    const testing::EnvironmentGuard temporary_folders(in_memory());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(run_ops(c.ops).broken) << failure_text(c.ops);
    }
}

// Seeded random sequences of what users, the phone and the clock do. For each invariant that
// breaks, the first sequence that breaks it is shrunk and shown step by step.
TEST(SyncModel, TwoDiariesAndAPhoneStayInStepThroughOrdinaryMishaps) {
    const testing::EnvironmentGuard temporary_folders(in_memory());
    std::map<Invariant, std::uint32_t> first_seed;
    std::map<Invariant, int> broken_runs;
    for (std::uint32_t seed = 1; seed <= sequences; ++seed) {
        const Outcome outcome = run_ops(random_ops(seed));
        if (!outcome.broken) continue;
        ++broken_runs[outcome.broken->invariant];
        first_seed.try_emplace(outcome.broken->invariant, seed);
    }
    for (const auto& [invariant, seed] : first_seed) {
        const std::vector<Op> shortest = shrink(random_ops(seed), invariant);
        ADD_FAILURE() << broken_runs[invariant] << " of " << sequences << " sequences broke \"" << name_of(invariant)
                      << "\"; the first, seed " << seed << ", shrunk to " << shortest.size() << " operations:\n"
                      << failure_text(shortest);
    }
}

}  // namespace
}  // namespace daybrook::sync_model
