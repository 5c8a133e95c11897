#include <gtest/gtest.h>

#include <cstdint>
#include <map>
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
