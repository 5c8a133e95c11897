// The sync's table, held to the rules it exists for rather than cell by cell.
#include "sync/sync_table.h"

#include <gtest/gtest.h>

namespace daybrook {
namespace {

TEST(SyncTable, TheEventWinsADeletionNeedsTheOtherSideUnchangedAndNothingIsLeftUndecided) {
    using enum SideChange;
    for (const SideChange diary : {unchanged, changed, removed}) {
        for (const SideChange vdir : {unchanged, changed, removed}) {
            const SyncAction action = sync_action(diary, vdir);
            SCOPED_TRACE(int(diary) * 3 + int(vdir));
            // An edit on the phone is never lost: a changed event is always made again here.
            EXPECT_EQ(vdir == changed, action == SyncAction::replace_here);
            // The phone's event goes only when the user deleted every entry and nobody edited it.
            EXPECT_EQ(action == SyncAction::remove_there, diary == removed && vdir == unchanged);
            // Entries go only for an event that is gone, and not twice when both sides removed it.
            EXPECT_EQ(action == SyncAction::remove_here, vdir == removed && diary != removed);
            // What the purge or the renewal did (changed) never removes anything.
            EXPECT_FALSE(diary == changed && action == SyncAction::remove_there);
            EXPECT_NE(action, SyncAction::send);
            EXPECT_NE(action, SyncAction::receive);
        }
    }
    EXPECT_EQ(sync_action(removed, removed), SyncAction::forget);
    EXPECT_EQ(sync_action(unchanged, unchanged), SyncAction::nothing);
    EXPECT_EQ(sync_action(NewOn::diary), SyncAction::send);
    EXPECT_EQ(sync_action(NewOn::vdir), SyncAction::receive);
}

}  // namespace
}  // namespace daybrook
