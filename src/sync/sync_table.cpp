#include "sync/sync_table.h"

#include <array>

namespace daybrook {
namespace {

using enum SideChange;
using enum SyncAction;

// Rows: the diary's side; columns: the vdir's, both in the order of SideChange. A pair that the
// comparison cannot give (one side added while the other was known) is treated as the nearest
// real case.
constexpr std::array<std::array<SyncAction, 5>, 5> table = {{
    //              absent        added    unchanged     changed       removed
    /* absent    */ {forget,       receive, receive,      receive,      forget},
    /* added     */ {send,         receive,  record,       record,       send},
    /* unchanged */ {remove_here,  record,  nothing,      replace_here, remove_here},
    /* changed   */ {remove_here,  record,  record,       replace_here, remove_here},
    /* removed   */ {remove_there, receive, remove_there, receive,      forget},
}};

}  // namespace

SyncAction sync_action(SideChange diary, SideChange vdir) noexcept {
    return table[static_cast<std::size_t>(diary)][static_cast<std::size_t>(vdir)];
}

}  // namespace daybrook
