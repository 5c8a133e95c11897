// The sync's state as text: whatever it holds reads back as it was, and anything the diary did
// not write whole reads as nothing, so that a sync never trusts half a state.
#include "sync/sync_state.h"

#include "calendar/fingerprint.h"
#include "store/entry_likeness.h"

#include <gtest/gtest.h>

#include <string>

namespace daybrook {
namespace {

SyncState sample() {
    SyncState state{.vdir = "/home/ann/My Calendars/100% daybrook"};
    state.items.push_back({.vdir_name = "call me.ics", .vdir_etag = {12, 186, 1796718841, 116341247},
                           .vdir_hash = 0x16187956d26d9ad1u, .horizon = 21158, .repeats = true,
                           .entries = {{"DAT20795.000", {13, 111, -1796718841, 124}, 0xbe588e551e39934du},
                                       {"DAT20802.003", {}, 1u}}});
    state.items.push_back({.vdir_name = "gone.ics", .vdir_hash = 7u, .retry = true});
    return state;
}

TEST(SyncState, ReadsBackWhatItWroteAndNothingItDidNotWriteWhole) {
    const std::string text = state_text(sample());
    ASSERT_EQ(parse_sync_state(text), sample());
    EXPECT_EQ(parse_sync_state(state_text(SyncState{})), SyncState{});
    struct Damage {
        const char* name;
        std::string text;
    };
    std::string flipped = text;
    flipped[text.find("DAT20795") + 4] = '6';
    const std::string body = text.substr(0, text.rfind("check "));
    // A body under another first line, ended with the checksum given.
    const auto sealed = [&](std::string_view header, std::string lines, auto checksum) {
        lines.replace(0, lines.find('\n'), header);
        return lines + "check " + hex_text(checksum(lines)) + '\n';
    };
    const auto fnv = [](std::string_view bytes) { return fnv1a(bytes); };
    const auto words = [](std::string_view bytes) { return word_hash(bytes); };
    EXPECT_EQ(parse_sync_state(sealed("daybrook sync state 2", body, fnv)), sample())
        << "a state an earlier Daybrook wrote is no damaged state";
    const auto edited = [&](std::string_view from, std::string_view to) {
        std::string lines = body;
        lines.replace(lines.find(from), from.size(), to);
        return sealed("daybrook sync state 3", lines, words);
    };
    const Damage damages[] = {
        {"cut short", text.substr(0, text.size() / 2)},
        {"last line cut", text.substr(0, text.size() - 3)},
        {"no end of line", text.substr(0, text.size() - 1)},
        {"a digit changed", flipped},
        {"an unknown version", sealed("daybrook sync state 1", body, fnv)},
        {"a version with another's checksum", sealed("daybrook sync state 2", body, words)},
        {"empty", ""},
        {"a line added", text + "item x.ics - 0000000000000000 0 0 0\n"},
        {"an etag without its fraction", edited("1796718841.116341247", "1796718841")},
        {"an etag of letters", edited("12-186-", "12-abc-")},
        {"an etag with a short fraction", edited(".116341247", ".1163")},
        {"an etag with a fraction below zero", edited(".116341247", ".-16341247")},
    };
    for (const Damage& damage : damages) EXPECT_EQ(parse_sync_state(damage.text), std::nullopt) << damage.name;
}

// Entries alike share a key and others do not: a sync that lost its state pairs an event with
// the entries alike on its days, so a key too strict doubles an entry and one too loose takes
// another event's entry. The key is kept in the state, so its bytes may never change.
TEST(SyncState, EntriesAlikeAndOnlyTheyShareAKeyThatNeverChanges) {
    const EntryRecord base{.text = "Dentist", .date = "08/12/26", .file = "DAT20795.000", .yearly = 1};
    struct Pair {
        const char* change;
        EntryRecord other;
        bool alike;
    };
    const auto with = [&](auto change) {
        EntryRecord record = base;
        change(record);
        return record;
    };
    const Pair pairs[] = {
        {"renewed", with([](EntryRecord& r) { r.yearly = EntryRecord::yearly_renewed; }), true},
        {"carried to next year", with([](EntryRecord& r) {
             r.date = "08/12/27";
             r.file = "DAT21160.000";
             r.origin = "DAT20795.000";
         }),
         true},
        {"received from an event", with([](EntryRecord& r) { r.event = "0123456789ab"; }), true},
        {"another memo", with([](EntryRecord& r) { r.text = "Dentist!"; }), false},
        {"memo in another case", with([](EntryRecord& r) { r.text = "dentist"; }), false},
        {"red-letter", with([](EntryRecord& r) { r.red = 1; }), false},
        {"not yearly", with([](EntryRecord& r) { r.yearly = EntryRecord::not_yearly; }), false},
    };
    for (const Pair& pair : pairs) {
        EXPECT_EQ(likeness_of(pair.other) == likeness_of(base), pair.alike) << pair.change;
        EXPECT_EQ(entry_key(pair.other) == entry_key(base), pair.alike) << pair.change;
    }
    EXPECT_EQ(entry_key(base), 3659502084372842558u) << "the key's bytes changed: every saved state would pair nothing";
}

}  // namespace
}  // namespace daybrook
