#include "sync/sync_model.h"

#include <array>
#include <filesystem>
#include <random>

namespace daybrook::sync_model {
namespace {

// How often each operation comes: the first byte of an operation indexes this table.
constexpr std::array kind_table = {
    OpKind::add_entry,    OpKind::add_entry,    OpKind::add_entry,    OpKind::add_entry,
    OpKind::delete_entry, OpKind::delete_entry, OpKind::phone_add,    OpKind::phone_add,
    OpKind::phone_delete, OpKind::phone_edit,   OpKind::phone_edit,   OpKind::close,
    OpKind::next_days,    OpKind::next_days,    OpKind::damage_state, OpKind::sync,
    OpKind::sync,         OpKind::quiet,        OpKind::quiet,        OpKind::quiet,
};

constexpr std::size_t fewest_ops = 20;
constexpr std::size_t most_ops = 40;

// Where the same invariant still breaks in the operations, the index of the one that broke it.
std::optional<std::size_t> breaks_at(const std::vector<Op>& ops, Invariant invariant) {
    const Outcome outcome = run_ops(ops);
    if (!outcome.broken || outcome.broken->invariant != invariant) return std::nullopt;
    return outcome.broken->op;
}

// The operations up to the one that broke the invariant: those after it do nothing for it.
void cut_after(std::vector<Op>& ops, std::size_t broken_at) {
    if (broken_at + 1 < ops.size()) ops.resize(broken_at + 1);
}

}  // namespace

Op op_of(std::span<const std::uint8_t, op_size> bytes) {
    return {.kind = kind_table[bytes[0] % kind_table.size()],
            .side = bytes[1] & 1 ? Side::b : Side::a,
            .flags = std::uint8_t(bytes[1] >> 1),
            .pick = bytes[2],
            .amount = bytes[3]};
}

std::vector<Op> ops_of(std::span<const std::uint8_t> bytes, std::size_t most) {
    std::vector<Op> ops;
    for (std::size_t at = 0; at + op_size <= bytes.size() && ops.size() < most; at += op_size)
        ops.push_back(op_of(bytes.subspan(at).first<op_size>()));
    return ops;
}

std::vector<Op> random_ops(std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> count(fewest_ops, most_ops);
    std::uniform_int_distribution<unsigned> byte(0, 255);
    std::vector<std::uint8_t> bytes(count(random) * op_size);
    for (std::uint8_t& b : bytes) b = std::uint8_t(byte(random));
    return ops_of(bytes, most_ops);
}

std::string_view name_of(Invariant invariant) {
    switch (invariant) {
        case Invariant::runs_clean: return "every sync and close runs clean and the syncs come to rest";
        case Invariant::no_loss_no_double: return "no event lost or doubled: A, B and the vdir show the model's days";
        case Invariant::purge_no_deletion: return "a vdir item goes only when its event was deleted";
        case Invariant::endless_repeats: return "weekly events without end keep their days up to today + 300";
    }
    return "?";
}

std::vector<Op> shrink(std::vector<Op> ops, Invariant invariant) {
    const std::optional<std::size_t> first = breaks_at(ops, invariant);
    if (!first) return ops;
    cut_after(ops, *first);
    for (bool dropped = true; dropped;) {
        dropped = false;
        for (std::size_t i = 0; i < ops.size();) {
            std::vector<Op> fewer = ops;
            fewer.erase(fewer.begin() + std::ptrdiff_t(i));
            if (const std::optional<std::size_t> at = breaks_at(fewer, invariant)) {
                ops = std::move(fewer);
                cut_after(ops, *at);
                dropped = true;
            } else {
                ++i;
            }
        }
    }
    return ops;
}

std::string failure_text(const std::vector<Op>& ops) {
    const Outcome outcome = run_ops(ops);
    if (!outcome.broken) return "every invariant holds";
    const Broken& broken = *outcome.broken;
    std::string text = "broken: " + std::string(name_of(broken.invariant)) + "\n";
    text += broken.op < ops.size() ? "at operation " + std::to_string(broken.op + 1) + " of " + std::to_string(ops.size())
                                   : "at the closing syncs after " + std::to_string(ops.size()) + " operations";
    text += ": " + broken.detail + "\n";
    for (const std::string& line : outcome.trace) text += "    " + line + "\n";
    return text;
}

std::optional<std::string> memory_folder() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
    return std::nullopt;
}

}  // namespace daybrook::sync_model
