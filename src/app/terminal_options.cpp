#include "app/terminal_options.h"

#include <algorithm>

#include "calendar/text_helpers.h"
#include "framework/qt_text.h"

namespace daybrook {
namespace {

bool names_option(std::string_view argument, const TerminalOption& option) {
    const std::string_view name = view_before(argument, "=");
    if (name.starts_with("--")) return name.substr(2) == option.name;
    return option.letter != '\0' && name.size() == 2 && name[0] == '-' && name[1] == option.letter;
}

QCommandLineOption qt_option(const TerminalOption& option) {
    QStringList names{qt_text(option.name)};
    if (option.letter != '\0') names.prepend(QString(QChar(option.letter)));
    return QCommandLineOption(names, qt_text(option.description), qt_text(option.value_name));
}

}  // namespace

bool asks_for_terminal(std::span<const std::string_view> arguments) {
    if (arguments.empty()) return false;
    return std::any_of(terminal_options.begin(), terminal_options.end(),
                       [&](const TerminalOption& option) { return names_option(arguments.front(), option); });
}

bool goes_with(const TerminalOption& option, std::string_view command) {
    if (option.goes_with.empty()) return option.name == command;
    std::string_view rest = option.goes_with;
    while (!rest.empty()) {
        if (view_before(rest, " ") == command) return true;
        rest = rest.find(' ') == std::string_view::npos ? std::string_view{} : view_after(rest, " ");
    }
    return false;
}

std::optional<std::string_view> stray_option(std::span<const std::string_view> arguments) {
    for (const std::string_view argument : arguments) {
        if (argument == "--") break;
        if (argument.starts_with("--")) return argument;
    }
    return std::nullopt;
}

bool asks_for_dry_run(std::span<const std::string_view> arguments) {
    const auto options_end = std::find(arguments.begin(), arguments.end(), "--");
    return std::find(arguments.begin(), options_end, "--dry-run") != options_end;
}

void add_terminal_options(QCommandLineParser& parser) {
    // The window's option is no option of the parser, which would take it after a command; the
    // help shows it beside the commands' options all the same.
    parser.setApplicationDescription(QStringLiteral(
        "Daybrook, a small diary. Without a command it opens its window. File names given to a command\n"
        "are taken from the folder the command is typed in.\n"
        "\n"
        "The window:\n"
        "  -a SECONDS [SECONDS]  Show the week for SECONDS seconds, then close; with a second number,\n"
        "                        stay that long instead when today has an entry (with one, close at\n"
        "                        once then). With 0 the week stays open until it is closed."));
    for (const TerminalOption& option : terminal_options) parser.addOption(qt_option(option));
    parser.addPositionalArgument(QStringLiteral("DAYS | MEMO"),
                                 QStringLiteral("With --list: how many days. With --add: the entry, up to 60 "
                                                "characters (its words are joined by a space)."),
                                 QStringLiteral("[DAYS | MEMO]"));
}

}  // namespace daybrook
