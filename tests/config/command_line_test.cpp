#include "config/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace daybrook {
namespace {

struct CommandLineCase {
    std::vector<std::string_view> arguments;
    int display_seconds;
    int display_seconds_today;
};

TEST(CommandLine, TakesTheLowerCaseSwitchOnlyWithOneOrTwoNumbers) {
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
    };
    for (const CommandLineCase& c : cases) {
        const CommandLine line = parse_command_line(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : std::string(c.arguments[0]);
        EXPECT_EQ(line.display_seconds, c.display_seconds) << shown << " with " << c.arguments.size();
        EXPECT_EQ(line.display_seconds_today, c.display_seconds_today) << shown;
        EXPECT_EQ(line.auto_mode(), c.display_seconds != -1) << shown;
    }
}

struct FolderCase {
    std::vector<std::string_view> arguments;
    std::optional<std::string> folder;  // the folder taken, or nothing for the own folder
    std::vector<std::string_view> rest;
    bool refused = false;
};

TEST(CommandLine, TakesTheFolderOptionsOutAnywhereBeforeTheEndOfOptions) {
    const std::vector<FolderCase> cases = {
        {{}, std::nullopt, {}},
        {{"--folder", "x", "-a", "5", "30"}, "x", {"-a", "5", "30"}},
        {{"-a", "5", "30", "--folder", "x"}, "x", {"-a", "5", "30"}},
        {{"--list", "--folder=../b", "3"}, "../b", {"--list", "3"}},
        {{"--folder", "a", "--folder", "b"}, "b", {}},
        {{"--folder", "a", "--own-folder", "-a", "5"}, std::nullopt, {"-a", "5"}},
        {{"--own-folder", "--folder", "a"}, "a", {}},
        // Launchers of earlier versions put --own-folder first; it still means the own folder.
        {{"--own-folder", "-a", "5", "30"}, std::nullopt, {"-a", "5", "30"}},
        {{"--folder", "--list"}, "--list", {}},
        {{"--add", "tue", "--", "--folder", "x"}, std::nullopt, {"--add", "tue", "--", "--folder", "x"}},
        {{"--OWN-FOLDER", "--Folder", "x"}, std::nullopt, {"--OWN-FOLDER", "--Folder", "x"}},
        {{"--folder"}, std::nullopt, {}, true},
        {{"-a", "5", "--folder", ""}, std::nullopt, {}, true},
        {{"--folder="}, std::nullopt, {}, true},
    };
    for (const FolderCase& c : cases) {
        const auto split = take_folder_options(c.arguments);
        const std::string shown = c.arguments.empty() ? "(none)" : std::string(c.arguments.back());
        if (c.refused) {
            ASSERT_TRUE(std::holds_alternative<CommandLineProblem>(split)) << shown;
            EXPECT_NE(std::get<CommandLineProblem>(split).message.find("--folder"), std::string::npos);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<FolderArguments>(split)) << shown;
        const FolderArguments& taken = std::get<FolderArguments>(split);
        EXPECT_EQ(taken.folder, c.folder) << shown;
        EXPECT_EQ(taken.rest, c.rest) << shown;
    }
}

}  // namespace
}  // namespace daybrook
