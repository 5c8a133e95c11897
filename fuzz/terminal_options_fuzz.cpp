// The terminal commands' options: the input is the arguments after the program's name, each
// ended by a zero byte, as the system passes them. Whatever the line, the parser and the choice
// of command end, and a command is chosen only when every option given goes with it, at most
// once, beside no other command; a line that is refused says why.
#include <QCommandLineParser>
#include <QString>
#include <QTextStream>

#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "app/terminal_commands.h"
#include "app/terminal_options.h"
#include "config/command_line.h"
#include "framework/qt_text.h"
#include "fuzz_arguments.h"
#include "fuzz_check.h"

namespace {

using namespace daybrook;

bool is_folder_option(const TerminalOption& option) { return option.name == "folder" || option.name == "own-folder"; }

int times_given(const QCommandLineParser& parser, const TerminalOption& option) {
    const QStringList given = parser.optionNames();
    return int(given.count(qt_text(option.name)) + (option.letter ? given.count(QString(QChar(option.letter))) : 0));
}

void check_choice(const QCommandLineParser& parser, std::string_view command) {
    for (const TerminalOption& option : terminal_options) {
        const int times = times_given(parser, option);
        FUZZ_CHECK(times <= 1);
        if (times == 0 || option.name == command) continue;
        FUZZ_CHECK(!option.goes_with.empty() && !is_folder_option(option));  // no second command
        FUZZ_CHECK(goes_with(option, command));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> arguments = daybrook_fuzz::arguments_of(data, size);
    // As the program does: the folder options out first.
    const auto split = take_folder_options(arguments);
    if (!std::holds_alternative<FolderArguments>(split)) return 0;
    const std::vector<std::string_view>& taken = std::get<FolderArguments>(split).rest;
    if (!asks_for_terminal(taken)) return 0;
    QStringList words{QStringLiteral("daybrook")};
    for (std::string_view argument : taken) words << QString::fromUtf8(argument.data(), qsizetype(argument.size()));
    QCommandLineParser parser;
    add_terminal_options(parser);
    if (!parser.parse(words)) return 0;
    QString said;
    QTextStream err(&said);
    const std::optional<std::string_view> command = chosen_command_name(parser, err);
    err.flush();
    if (command) check_choice(parser, *command);
    FUZZ_CHECK(command.has_value() == said.isEmpty());
    return 0;
}
