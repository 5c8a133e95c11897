// The sync's record of the last sync, which anything may have written over: the input is read
// as a whole record, and again as the lines of one sealed with the checksum the diary writes, so
// that the lines are read past it. Whatever reads is written back as the same record.
#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/fingerprint.h"
#include "fuzz_check.h"
#include "sync/sync_state.h"

namespace {

// The lines under the first line the diary writes, ended with their checksum.
std::string sealed(std::string_view lines) {
    std::string text = "daybrook sync state 3\n" + std::string(lines);
    if (!text.ends_with('\n')) text += '\n';
    return text + "check " + daybrook::hex_text(daybrook::word_hash(text)) + '\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace daybrook;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (const std::string& text : {std::string(input), sealed(input)}) {
        const std::optional<SyncState> state = parse_sync_state(text);
        if (state) FUZZ_CHECK(parse_sync_state(state_text(*state)) == state);
    }
    return 0;
}
