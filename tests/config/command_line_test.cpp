#include "config/command_line.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace daybrook {
namespace {

struct CommandLineCase {
    std::vector<std::string_view> arguments;
    int display_seconds;
    int display_seconds_today;
    bool own_folder = false;
};

TEST(CommandLine, TakesTheOwnFolderOnlyFirstAndTheLowerCaseSwitchOnlyWithOneOrTwoNumbers) {
    const std::vector<CommandLineCase> cases = {
        {{}, -1, 0},
        {{"-a", "5", "30"}, 5, 30},
        {{"-a", "5"}, 5, 0},
        {{"-a", "0"}, 0, 0},
        {{"-a", "abc"}, 0, 0},
        {{"-a", "-1"}, -1, 0},
        {{"-a"}, -1, 0},
        {{"-a", "5", "30", "7"}, -1, 0},
        {{"-A", "5"}, -1, 0},
        {{"/a", "5"}, -1, 0},
        {{"-a", " 12xyz", "+3"}, 12, 3},
        {{"-a", "99999999999"}, 2147483647, 0},
        // The own folder only as the first argument, the rest read by the rules above.
        {{"--own-folder"}, -1, 0, true},
        {{"--own-folder", "-a", "5", "30"}, 5, 30, true},
        {{"--own-folder", "-a", "5", "30", "7"}, -1, 0, true},
        {{"--own-folder", "--own-folder", "-a", "5"}, -1, 0, true},
        {{"-a", "5", "--own-folder"}, 5, 0},
        {{"--OWN-FOLDER", "-a", "5"}, -1, 0},
    };
    for (const CommandLineCase& c : cases) {
        const CommandLine line = parse_command_line(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : std::string(c.arguments[0]);
        EXPECT_EQ(line.display_seconds, c.display_seconds) << shown << " with " << c.arguments.size();
        EXPECT_EQ(line.display_seconds_today, c.display_seconds_today) << shown;
        EXPECT_EQ(line.auto_mode(), c.display_seconds != -1) << shown;
        EXPECT_EQ(line.own_folder, c.own_folder) << shown << " with " << c.arguments.size();
    }
}

}  // namespace
}  // namespace daybrook
