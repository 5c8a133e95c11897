// The command line: the input is the arguments after the program's name, each ended by a zero
// byte (the last one by the end of the input), as the system passes them.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "calendar/text_helpers.h"
#include "config/command_line.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace daybrook;
    std::vector<std::string_view> arguments;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\0');
        arguments.push_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    const CommandLine line = parse_command_line(arguments);

    // "--own-folder" counts as the first argument only, and the rest are read without it.
    const bool own_folder = !arguments.empty() && arguments[0] == "--own-folder";
    FUZZ_CHECK(line.own_folder == own_folder);
    const std::span<const std::string_view> after(arguments.data() + (own_folder ? 1 : 0),
                                                  arguments.size() - (own_folder ? 1 : 0));

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
