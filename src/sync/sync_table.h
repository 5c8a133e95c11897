// The one table of the sync: how each side of an event changed since the last sync decides what
// the sync does with it. Every combination has exactly one action, so no case is left to chance.
//
// The sides in the diary's terms:
// - added: entries no event stands for yet (made in the diary); in the vdir, a file the last sync
//   did not see (brought by vdirsyncer from a server).
// - changed: in the vdir, a file with other contents. In the diary, entries of the event that
//   are no longer what the last sync saw without the user having deleted them: a yearly entry
//   carried over to next year, or entries that the purge of old entries removed. Neither says
//   anything new about the event, and nothing in the diary is ever written back to the vdir.
// - removed: the vdir file is gone; in the diary, every entry of the event is gone and at least
//   one of them was deleted by the user. An entry counts as deleted by the user when its day
//   still lay inside the kept range: on or after today - 2 - keep_days, with the smaller keep
//   code of the last sync and this one, so that an entry purged under a shorter keep time never
//   passes for a deletion. The purge alone never removes an event.
#pragma once

namespace daybrook {

enum class SideChange { absent, added, unchanged, changed, removed };

enum class SyncAction {
    nothing,        // both as before (a repeating event's new days beyond the horizon are added)
    send,           // write the diary's entry as a new event into the vdir
    receive,        // make the event's entries in the diary; entries alike that no event stands
                    // for yet are taken for them instead (a sync cut short, or no state to trust)
    record,         // both sides stand for the same event still: remember them as they are now
    replace_here,   // the event changed: its entries go to the trash and new ones are made
    remove_here,    // the event was removed: its entries go to the trash
    remove_there,   // the user deleted the event's entries: the vdir file goes
    forget,         // gone on both sides: nothing to do but drop it from the state
};

// When both sides changed, the event wins: the diary's changes are never the user's own edits.
// When the user deleted the entries and the event changed meanwhile, the event wins and comes
// back: nothing is lost.
SyncAction sync_action(SideChange diary, SideChange vdir) noexcept;

}  // namespace daybrook
