#include "sync/state_file.h"

#include <cstddef>
#include <optional>
#include <span>
#include <utility>

#include "store/file_writes.h"
#include "store/small_file.h"

namespace daybrook {
namespace {

// Far more than the state of the largest diary takes; a larger file is no state of the diary's.
constexpr std::size_t largest_state_file = std::size_t{64} << 20;

}  // namespace

LoadedState load_sync_state(const StoreDir& dir, const std::string& vdir) {
    const SmallFileRead file = read_small_file(dir / sync_state_file, largest_state_file);
    if (file.missing()) return {};
    std::optional<SyncState> state = file.read() ? parse_sync_state(file.bytes) : std::nullopt;
    if (!state) return {StateRead::damaged, {}};
    if (state->vdir != vdir) return {};
    return {StateRead::loaded, std::move(*state)};
}

bool save_sync_state(const StoreDir& dir, const SyncState& state) {
    const std::string text = state_text(state);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    return replace_private_file((dir / sync_state_file).string(), std::span(bytes, text.size()));
}

}  // namespace daybrook
