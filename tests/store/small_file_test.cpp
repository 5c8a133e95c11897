// Whatever stands under a small file's name, the reader answers at once, without an exception,
// and tells a missing file apart from every other failure.
#include "store/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <optional>
#include <string>

#include "support/permissions_bite.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

using testing::PermissionsBite;
using testing::TempDir;
namespace fs = std::filesystem;

// Reads in another thread; a reader that waits on a FIFO is let go by opening the FIFO for
// writing, so that a fault fails the test instead of hanging it.
SmallFileRead read_without_hanging(const fs::path& path, std::size_t largest) {
    std::future<SmallFileRead> read = std::async(std::launch::async, [&] { return read_small_file(path, largest); });
    if (read.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ADD_FAILURE() << path << " blocked the reader";
        const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0) ::close(writer);
    }
    return read.get();
}

TEST(SmallFile, ReadsRegularFilesAndRefusesEverythingElseAtOnce) {
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> make;  // makes "it" in the folder
        std::size_t largest;
        int error;
        std::string bytes;
        bool bite = false;  // read without root's power to read past permissions
    };
    const std::string ten = "0123456789";
    const Case cases[] = {
        {"a regular file", [&](const TempDir& dir) { dir.write("it", ten); }, 10, 0, ten},
        {"an empty file", [](const TempDir& dir) { dir.write("it", ""); }, 10, 0, ""},
        {"no file", [](const TempDir&) {}, 10, ENOENT, ""},
        {"a directory", [](const TempDir& dir) { fs::create_directory(dir / "it"); }, 10, EISDIR, ""},
        {"a FIFO", [](const TempDir& dir) { ASSERT_EQ(::mkfifo((dir / "it").c_str(), 0600), 0); }, 10, ENODEV, ""},
        // /dev/zero never ends: a reader that took it would fill the memory.
        {"a link to a device", [](const TempDir& dir) { fs::create_symlink("/dev/zero", dir / "it"); }, 10, ENODEV,
         ""},
        {"a link that leads nowhere", [](const TempDir& dir) { fs::create_symlink("gone", dir / "it"); }, 10, ENOENT,
         ""},
        {"a link to a file",
         [&](const TempDir& dir) {
             dir.write("target", ten);
             fs::create_symlink("target", dir / "it");
         },
         10, 0, ten},
        {"a file one byte too large", [&](const TempDir& dir) { dir.write("it", ten + "!"); }, 10, EFBIG, ""},
        {"a file the user may not read",
         [&](const TempDir& dir) {
             dir.write("it", ten);
             fs::permissions(dir / "it", fs::perms::none);
         },
         10, EACCES, "", true},
    };
    for (const Case& test : cases) {
        TempDir dir;
        test.make(dir);
        std::optional<PermissionsBite> bite;
        if (test.bite) bite.emplace();
        const SmallFileRead read = read_without_hanging(dir / "it", test.largest);
        EXPECT_EQ(read.error, test.error) << test.what;
        EXPECT_EQ(read.missing(), test.error == ENOENT) << test.what;
        EXPECT_EQ(read.bytes, test.bytes) << test.what;
        if (read.read()) {
            struct stat opened {};
            ASSERT_EQ(::stat((dir / "it").c_str(), &opened), 0);
            EXPECT_TRUE(S_ISREG(read.status.st_mode)) << test.what;
            EXPECT_EQ(read.status.st_ino, opened.st_ino) << test.what << ": the status of the file read";
            EXPECT_EQ(read.status.st_size, off_t(test.bytes.size())) << test.what;
        }
    }
}

}  // namespace
}  // namespace daybrook
