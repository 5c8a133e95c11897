// The sync under sequences of operations: every four bytes of the input are one operation of
// the model test (tests/sync/sync_model.h), which runs them against the real sync and checks
// the same invariants. A sequence that breaks one is printed step by step before the run ends.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "fuzz_check.h"
#include "sync/sync_model.h"

namespace {

constexpr std::size_t most_ops = 60;

}  // namespace

// The temporary folders go into memory where the system has one: every operation writes and
// flushes files.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const auto folder = daybrook::sync_model::memory_folder()) setenv("TMPDIR", folder->c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace daybrook::sync_model;
    const std::vector<Op> ops = ops_of(std::span(data, size), most_ops);
    const Outcome outcome = run_ops(ops);
    if (outcome.broken) std::fprintf(stderr, "%s", failure_text(ops).c_str());
    FUZZ_CHECK(!outcome.broken);
    return 0;
}
