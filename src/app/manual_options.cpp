// A program of the build: copies the hand-written manual page from standard input to standard
// output, with the entries of the terminal options, written in roff from their table, in place of
// the marker line. So the page's list of options is the one --help prints, and cannot fall behind.

#include <iostream>
#include <string>
#include <string_view>

#include "app/terminal_option_table.h"

namespace {

constexpr std::string_view marker = R"(.\" The entries of the terminal options go here.)";

// Text as roff prints it: a backslash escaped, a '-' as the minus sign that a reader copying an
// option from the page needs, and a line that starts with '.' or '\'' kept from reading as a request.
std::string roff_text(std::string_view text) {
    std::string roff = text.starts_with('.') || text.starts_with('\'') ? R"(\&)" : "";
    for (const char c : text) {
        if (c == '\\') roff += R"(\e)";
        else if (c == '-') roff += R"(\-)";
        else roff += c;
    }
    return roff;
}

// The entry's first line, in bold the names, in italics the value: "-h, --help", "--add DATE".
std::string option_tag(const daybrook::TerminalOption& option) {
    std::string tag;
    if (option.letter != '\0') tag += R"(\fB\-)" + roff_text(std::string(1, option.letter)) + R"(\fR, )";
    tag += R"(\fB\-\-)" + roff_text(option.name) + R"(\fR)";
    if (!option.value_name.empty()) tag += R"( \fI)" + roff_text(option.value_name) + R"(\fR)";
    return tag;
}

void print_option_entries(std::ostream& out) {
    for (const daybrook::TerminalOption& option : daybrook::terminal_options)
        out << ".TP\n" << option_tag(option) << '\n' << roff_text(option.description) << '\n';
}

}  // namespace

// Ends with 1, and the build with it, when the page has no marker line or cannot be written.
int main() {
    bool marked = false;
    for (std::string line; std::getline(std::cin, line);) {
        if (line == marker) {
            print_option_entries(std::cout);
            marked = true;
        } else {
            std::cout << line << '\n';
        }
    }
    std::cout.flush();
    if (!marked) std::cerr << "The manual page has no line \"" << marker << "\" for the options.\n";
    return marked && std::cout ? 0 : 1;
}
