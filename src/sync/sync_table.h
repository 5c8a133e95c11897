// The one table of the sync: how each side of an event changed since the last sync decides what
// the sync does with it. Every item of either side goes through it, and every cell can occur.
//
// An event the last sync saw on both sides (it is in the state) has three possible changes on
// each side:
// - unchanged: the vdir file has the same contents; the diary still holds each of its entries.
// - changed: in the vdir, a file with other contents. In the diary, entries that are no longer
//   what the last sync saw without the user having deleted them all: a yearly entry carried over
//   to next year, entries the close purged, or some of a repeat's entries deleted. None of that
//   says anything new about the event, and nothing in the diary is ever written back to the vdir.
// - removed: the vdir file is gone; in the diary, every entry of the event is gone and at least
//   one of them was deleted by the user (its day is on or after the purge mark, purge_mark.h).
//   The purge alone never removes an event.
//
// An item the state does not know is new on one side: made since the last sync, or the state was
// lost. When an entry's own UID names a vdir file that no state knows (a sync cut short before it
// saved its state, or a lost state), the two are one event already: it goes through the table as
// a known one, its vdir side unchanged when the file holds what the sync writes for the entry.
#pragma once

namespace daybrook {

enum class SideChange { unchanged, changed, removed };

enum class NewOn { diary, vdir };

enum class SyncAction {
    nothing,       // both as before (a repeat without end gets the days that came within reach)
    record,        // both sides stand for the same event still: remember them as they are now
                   // (a repeat without end gets the days that came within reach)
    send,          // write the diary's entry as a new event into the vdir
    receive,       // make the event's entries in the diary, taking entries alike that no event
                   // stands for yet instead of making them again
    replace_here,  // the event changed: its entries from today on are made anew from it
    remove_here,   // the event was removed: its entries go to the trash
    remove_there,  // the user deleted the event's entries: the vdir file goes
    forget,        // gone on both sides: nothing to do but drop it from the state
};

// When both sides changed, the event wins: the diary's changes are never the user's own edits.
// When the user deleted the entries and the event changed meanwhile, the event wins and comes
// back: nothing is lost.
SyncAction sync_action(SideChange diary, SideChange vdir) noexcept;

// A new item: an entry is sent, an event received.
SyncAction sync_action(NewOn side) noexcept;

}  // namespace daybrook
