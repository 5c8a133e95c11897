// The identity of an entry as an event of other calendars.
#include "ics/entry_uid.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ics/ics_export.h"
#include "store/memo.h"
#include "store/renewal.h"
#include "sync/vdir_storage.h"
#include "support/temp_dir.h"
#include "support/typed_day.h"

namespace daybrook {
namespace {

using testing::TempDir;

// Every server and phone that ever saw an event knows it by these: a change of the recipe (its
// fields, their order, the hash) would make each of them a new event and the old one a stray.
TEST(EntryUid, IsTheSameForTheSameEntryForEver) {
    struct Case {
        const char* name;
        EntryRecord record;
        int alike_before;
        const char* uid;
        const char* vdir_name;
    };
    const Case cases[] = {
        {"DAT20797.000", Memo("Dentist at ten").date("10/12/26").file("DAT20797.000"), 0,
         "DAT20797.000-8b00dc5d2b733e20@daybrook", "DAT20797.000-8b00dc5d2b733e20@daybrook.ics"},
        {"DAT20792.000", Memo("Anna").date("05/12/26").file("DAT20792.000").yearly(1).red(), 0,
         "yearly-a2f9d658dbf26c4d-1@daybrook", "yearly-a2f9d658dbf26c4d-1@daybrook.ics"},
        {"DAT20792.001", Memo("Anna").date("05/12/26").file("DAT20792.001").yearly(1).red(), 1,
         "yearly-a2f9d658dbf26c4d-2@daybrook", "yearly-a2f9d658dbf26c4d-2@daybrook.ics"},
        {"DAT21157.004", Memo("Anna").date("05/12/26").file("DAT20792.000").yearly(-1).red(), 0,
         "yearly-a2f9d658dbf26c4d-1@daybrook", "yearly-a2f9d658dbf26c4d-1@daybrook.ics"},
        {"DAT29220.009", Memo("Caf\xE9 ").date("31/12/50").file("DAT29220.009"), 0,
         "DAT29220.009-909c76e11cd1dfe9@daybrook", "DAT29220.009-909c76e11cd1dfe9@daybrook.ics"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(entry_uid(c.name, c.record, c.alike_before), c.uid) << c.name;
        EXPECT_EQ(vdir_name_for_uid(c.uid), c.vdir_name) << c.name;
    }
    // A UID that is no safe file name is named by its hash, as vdirsyncer names such items.
    EXPECT_EQ(vdir_name_for_uid("a b"), "e63f991904833892.ics");
    EXPECT_EQ(vdir_name_for_uid(".x"), "07da4407b4a0868b.ics");
}

TEST(EntryUid, StaysWithAYearlyEntryThroughItsRenewalsAndTellsEntriesAlikeApart) {
    TempDir dir;
    const auto add = [&](const char* date, const EntryRecord& record) {
        const AddedEntry added = add_entry(dir.path(), date_to_day(date), record);
        EXPECT_EQ(added.error, StoreError::none);
        return added.name;
    };
    const EntryRecord birthday = Memo("Anna").yearly(EntryRecord::yearly_pending);
    const std::string first = add("10/02/26", birthday);
    add("10/02/26", Memo("Lunch"));
    add("10/02/26", birthday);
    add("10/02/26", Memo("Anna").yearly(EntryRecord::yearly_pending).red());
    const std::string plain = add("11/02/26", Memo("Anna"));
    const auto uids = [&] {
        std::vector<std::string> all;
        EntryUids namer;
        for (const std::string& name : list_entry_files(dir.path())) all.push_back(namer(name, *read_entry(dir.path(), name)));
        return all;
    };
    const std::vector<std::string> before = uids();
    EXPECT_EQ(std::set<std::string>(before.begin(), before.end()).size(), before.size()) << "each entry its own";

    // Renewed: the copy keeps the UID of the entry it came from, which keeps its own.
    EXPECT_EQ(renew_yearly(dir.path(), first).outcome, Renewal::renewed);
    const std::vector<std::string> after = uids();
    ASSERT_EQ(after.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(after.begin(), after.begin() + 5), before);
    EXPECT_EQ(after[5], before[0]);
    EXPECT_EQ(export_ics(dir.path()).events, 5) << "a yearly entry and its copy are one event";
    EXPECT_NE(entry_uid(plain, *read_entry(dir.path(), plain), 0), before[0]);
}

}  // namespace
}  // namespace daybrook
