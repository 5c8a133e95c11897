#include "sync/sync_table.h"

#include <array>

namespace daybrook {
namespace {

using enum SyncAction;

// Rows: the diary's side; columns: the vdir's, both in the order of SideChange.
constexpr std::array<std::array<SyncAction, 3>, 3> known_table = {{
    //              unchanged     changed       removed
    /* unchanged */ {nothing,      replace_here, remove_here},
    /* changed   */ {record,       replace_here, remove_here},
    /* removed   */ {remove_there, replace_here, forget},
}};

}  // namespace

SyncAction sync_action(SideChange diary, SideChange vdir) noexcept {
    return known_table[static_cast<std::size_t>(diary)][static_cast<std::size_t>(vdir)];
}

SyncAction sync_action(NewOn side) noexcept {
    return side == NewOn::diary ? send : receive;
}

}  // namespace daybrook
