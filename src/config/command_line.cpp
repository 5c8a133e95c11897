#include "config/command_line.h"

#include "calendar/text_helpers.h"

namespace daybrook {
namespace {

// The mode the arguments ask for. The switch is taken only in exactly this form, letter case
// included, with one or two numbers after it.
CommandLine mode_of(std::span<const std::string_view> arguments) {
    CommandLine result;
    const bool auto_switch = !arguments.empty() && arguments[0] == "-a";
    if (!auto_switch || (arguments.size() != 2 && arguments.size() != 3)) return result;
    result.display_seconds = text_to_int(arguments[1]);
    if (arguments.size() == 3) result.display_seconds_today = text_to_int(arguments[2]);
    return result;
}

}  // namespace

CommandLine parse_command_line(std::span<const std::string_view> arguments) {
    // The launchers put the option first; anywhere else it is just another argument.
    const bool own_folder = !arguments.empty() && arguments[0] == "--own-folder";
    CommandLine result = mode_of(own_folder ? arguments.subspan(1) : arguments);
    result.own_folder = own_folder;
    return result;
}

}  // namespace daybrook
