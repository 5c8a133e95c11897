// The command line: the input is the arguments after the program's name, each ended by a zero
// byte (the last one by the end of the input), as the system passes them.
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "calendar/text_helpers.h"
#include "config/command_line.h"
#include "fuzz_arguments.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace daybrook;
    const std::vector<std::string_view> arguments = daybrook_fuzz::arguments_of(data, size);
    const auto split = take_folder_options(arguments);
    if (std::holds_alternative<CommandLineProblem>(split)) return 0;
    const FolderArguments& taken = std::get<FolderArguments>(split);

    // The folder options leave nothing of themselves in the rest before a "--".
    FUZZ_CHECK(taken.rest.size() <= arguments.size());
    for (const std::string_view argument : taken.rest) {
        if (argument == "--") break;
        FUZZ_CHECK(argument != "--own-folder" && argument != "--folder" && !argument.starts_with("--folder="));
    }
    FUZZ_CHECK(!taken.folder || !taken.folder->empty());
    const std::span<const std::string_view> after(taken.rest);
    const CommandLine line = parse_command_line(after);

    // Auto mode needs exactly "-a" and one or two numbers; anything else is the normal window.
    FUZZ_CHECK(line.auto_mode() == (line.display_seconds != -1));
    if (!after.empty() && after[0] == "-a" && (after.size() == 2 || after.size() == 3)) {
        FUZZ_CHECK(line.display_seconds == text_to_int(after[1]));
        FUZZ_CHECK(line.display_seconds_today == (after.size() == 3 ? text_to_int(after[2]) : 0));
    } else {
        FUZZ_CHECK(line.display_seconds == -1 && line.display_seconds_today == 0);
    }
    return 0;
}
