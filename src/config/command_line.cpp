#include "config/command_line.h"

#include "calendar/text_helpers.h"

namespace daybrook {
namespace {

constexpr std::string_view folder_option = "--folder";
constexpr std::string_view folder_option_joined = "--folder=";
constexpr std::string_view own_folder_option = "--own-folder";
constexpr std::string_view end_of_options = "--";

CommandLineProblem folder_missing() {
    return {"--folder needs the folder the diary works on, such as --folder . for the current one"};
}

}  // namespace

std::variant<FolderArguments, CommandLineProblem> take_folder_options(std::span<const std::string_view> arguments) {
    FolderArguments result;
    for (std::size_t k = 0; k < arguments.size(); ++k) {
        const std::string_view argument = arguments[k];
        if (argument == end_of_options) {
            result.rest.insert(result.rest.end(), arguments.begin() + std::ptrdiff_t(k), arguments.end());
            break;
        }
        if (argument == own_folder_option) {
            result.folder.reset();
        } else if (argument == folder_option) {
            if (k + 1 == arguments.size() || arguments[k + 1].empty()) return folder_missing();
            result.folder = std::string(arguments[++k]);
        } else if (argument.starts_with(folder_option_joined)) {
            if (argument.size() == folder_option_joined.size()) return folder_missing();
            result.folder = std::string(argument.substr(folder_option_joined.size()));
        } else {
            result.rest.push_back(argument);
        }
    }
    return result;
}

// The switch is taken only in exactly this form, letter case included, with one or two numbers
// after it.
CommandLine parse_command_line(std::span<const std::string_view> arguments) {
    CommandLine result;
    const bool auto_switch = !arguments.empty() && arguments[0] == "-a";
    if (!auto_switch || (arguments.size() != 2 && arguments.size() != 3)) return result;
    result.display_seconds = text_to_int(arguments[1]);
    if (arguments.size() == 3) result.display_seconds_today = text_to_int(arguments[2]);
    return result;
}

}  // namespace daybrook
