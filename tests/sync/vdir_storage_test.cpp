// The vdir as vdirsyncer and a careless hand leave it: odd files are left out with a note rather
// than refusing the sync, a killed write's leftovers are cleared but nobody else's files, and
// an item's etag is that of the very file read.
#include "sync/vdir_storage.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/permissions_bite.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::PermissionsBite;
using testing::TempDir;
namespace fs = std::filesystem;

// The id of a process that has ended: one that may not be given again while the test runs,
// as ids are handed out in turn.
pid_t ended_process() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

std::vector<std::string> names_of(const VdirListing& listing) {
    std::vector<std::string> names;
    for (const VdirItem& item : listing.items) names.push_back(item.name);
    return names;
}

// Whether a note names the item.
bool noted(const VdirListing& listing, const std::string& name) {
    return std::any_of(listing.notes.begin(), listing.notes.end(),
                       [&](const std::string& note) { return note.starts_with(name + " "); });
}

TEST(VdirStorage, ListsEventFilesNotesOddOnesAndClearsOnlyDeadWritersLeftovers) {
    TempDir vdir;
    vdir.write("plain.ics", "BEGIN:VCALENDAR\n");
    vdir.write("elsewhere", "BEGIN:VCALENDAR\n");
    fs::create_symlink("elsewhere", vdir / "linked.ics");
    fs::create_symlink("missing", vdir / "dangling.ics");
    fs::create_symlink("loop.ics", vdir / "loop.ics");
    fs::create_directory(vdir / "folder.ics");
    ASSERT_EQ(::mkfifo((vdir / "fifo.ics").c_str(), 0600), 0);
    vdir.write(".hidden.ics", "");
    vdir.write("notes.txt", "");
    const std::string dead = std::to_string(ended_process());
    const std::string alive = std::to_string(::getpid());
    const std::string killed_write = ".gone.ics.new-" + dead + "-0";
    const std::vector<std::string> kept_hidden = {
        ".running.ics.new-" + alive + "-0",  // a write still going on
        ".other.txt.new-" + dead + "-0",     // no item's
        ".gone.ics.new-" + dead + "-x",      // not a name the writes give
        ".gone.ics.tmp",                     // another program's
    };
    vdir.write(killed_write, "half");
    for (const std::string& name : kept_hidden) vdir.write(name, "");
    fs::create_directory(vdir / (".dir.ics.new-" + dead + "-1"));

    const std::optional<VdirListing> listing = list_vdir(vdir.path());
    ASSERT_TRUE(listing) << "odd items never refuse the whole listing";
    EXPECT_EQ(names_of(*listing), (std::vector<std::string>{"linked.ics", "plain.ics"}));
    for (const char* odd : {"dangling.ics", "loop.ics", "folder.ics", "fifo.ics"})
        EXPECT_TRUE(noted(*listing, odd)) << odd;
    EXPECT_EQ(listing->notes.size(), 4u);
    EXPECT_FALSE(vdir.exists(killed_write));
    for (const std::string& name : kept_hidden) EXPECT_TRUE(vdir.exists(name)) << name;
    EXPECT_TRUE(fs::is_directory(vdir / (".dir.ics.new-" + dead + "-1"))) << "only regular files are cleared";
    EXPECT_EQ(listing->items[1].etag, etag_of(vdir / "plain.ics"));

    EXPECT_FALSE(list_vdir(vdir / "missing")) << "a missing vdir is not an empty one";
    EXPECT_FALSE(list_vdir(vdir / "plain.ics"));

    // An item that cannot be examined may well be there: left out, it would read as removed.
    fs::create_directory(vdir / "locked");
    vdir.write("locked/event.ics", "");
    fs::create_symlink("locked/event.ics", vdir / "behind.ics");
    fs::permissions(vdir / "locked", fs::perms::none);
    {
        const PermissionsBite bite;
        EXPECT_FALSE(list_vdir(vdir.path()));
    }
    fs::permissions(vdir / "locked", fs::perms::owner_all);
}

TEST(VdirStorage, ReadsAnItemWithTheEtagOfTheFileRead) {
    TempDir vdir;
    vdir.write("event.ics", "first");
    const Etag first = etag_of(vdir / "event.ics");
    const std::optional<VdirRead> read = read_vdir_item(vdir.path(), "event.ics");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, "first");
    EXPECT_EQ(read->etag, first);

    VdirBatch batch(vdir.path());
    const std::optional<Etag> promised = batch.add("event.ics", "second");
    ASSERT_TRUE(promised);
    EXPECT_EQ(read_vdir_item(vdir.path(), "event.ics")->text, "first") << "no item replaced before the batch is placed";
    ASSERT_EQ(batch.place(), std::vector<std::string>{});
    const std::optional<VdirRead> again = read_vdir_item(vdir.path(), "event.ics");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->text, "second");
    EXPECT_NE(again->etag, first) << "a file replaced is a file changed";
    EXPECT_EQ(again->etag, etag_of(vdir / "event.ics"));
    EXPECT_EQ(again->etag, *promised) << "the etag the batch gave is the placed file's";
}

TEST(VdirStorage, RefusesToReadWhatIsNoItem) {
    TempDir vdir;
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"large.ics",
         [&] {
             vdir.write("large.ics", "");
             fs::resize_file(vdir / "large.ics", largest_vdir_item + 1);
         }},
        {"fifo.ics", [&] { ASSERT_EQ(::mkfifo((vdir / "fifo.ics").c_str(), 0600), 0); }},
        {"folder.ics", [&] { fs::create_directory(vdir / "folder.ics"); }},
        {"missing.ics", [] {}},
        {".hidden.ics", [&] { vdir.write(".hidden.ics", "text"); }},
    };
    for (const auto& [name, make] : cases) {
        make();
        EXPECT_FALSE(read_vdir_item(vdir.path(), name)) << name;
    }
    vdir.write("limit.ics", "");
    fs::resize_file(vdir / "limit.ics", largest_vdir_item);
    EXPECT_TRUE(read_vdir_item(vdir.path(), "limit.ics")) << "the largest item is read";
}

}  // namespace
}  // namespace daybrook
