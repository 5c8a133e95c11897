#include "framework/single_instance.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/environment_guard.h"
#include "support/temp_dir.h"

namespace daybrook {
namespace {

namespace fs = std::filesystem;

// A second start of the same diary hands over to the first and opens no window; another diary
// opens its own. A runtime folder too deep for a socket's address changes none of it.
TEST(SingleInstance, OneWindowPerDiaryAlsoUnderARuntimeFolderTooLongForASocketAddress) {
    for (const std::size_t depth : {std::size_t{0}, std::size_t{120}}) {
        const testing::TempDir runtime;
        fs::path folder = runtime.path();
        if (depth > 0) {
            folder /= std::string(depth, 'r');
            fs::create_directory(folder);
            fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
        }
        const testing::EnvironmentGuard environment({{"XDG_RUNTIME_DIR", folder.native()}});
        SingleInstance first(QStringLiteral("/home/someone/diary"));
        ASSERT_TRUE(first.claim()) << depth;
        int requests = 0;
        QObject::connect(&first, &SingleInstance::activation_requested, [&] { ++requests; });

        SingleInstance second(QStringLiteral("/home/someone/diary"));
        EXPECT_FALSE(second.claim()) << depth;
        EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 1; }, 5000)) << depth;
        SingleInstance other(QStringLiteral("/home/someone/other diary"));
        EXPECT_TRUE(other.claim()) << depth;
    }
}

}  // namespace
}  // namespace daybrook
