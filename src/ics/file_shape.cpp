// The shape check runs over the whole text before libical sees any of it, so every step here
// takes time in proportion to the text: each byte is looked at a bounded number of times.
#include "ics/file_shape.h"

#include <vector>

#include "calendar/text_helpers.h"

namespace daybrook {
namespace {

bool continues_a_line(char first) { return first == ' ' || first == '\t'; }

// The BEGIN or END of a content line, or empty for any other property.
enum class Edge { none, begin, end };

Edge edge_of(std::string_view line) {
    const std::string_view name = line.substr(0, line.find_first_of(":;"));
    if (equal_ignoring_case(name, "begin")) return Edge::begin;
    if (equal_ignoring_case(name, "end")) return Edge::end;
    return Edge::none;
}

// The component a BEGIN or END line names, in lower case.
std::string component_of(std::string_view line) {
    const std::size_t colon = line.find(':');
    std::string value = ascii_lower(colon == std::string_view::npos ? "" : line.substr(colon + 1));
    value.erase(value.find_last_not_of(" \t") + 1);
    return value;
}

// A component's name for a message, in upper case: up to its first control character and at
// most 30 characters, since a file with bare carriage returns for line ends reads as one line.
std::string name_for_message(std::string_view component) {
    std::string name;
    for (char c : component.substr(0, 30)) {
        if (static_cast<unsigned char>(c) < 0x20) break;
        name += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return name;
}

}  // namespace

ContentLines::PhysicalLine ContentLines::physical_line() {
    const std::size_t end = m_text.find('\n', m_offset);
    const bool line_feed = end != std::string_view::npos;
    PhysicalLine line{m_text.substr(m_offset, line_feed ? end - m_offset : std::string_view::npos), false};
    m_offset = line_feed ? end + 1 : m_text.size();
    ++m_lines_read;
    if (line.text.ends_with('\r')) {
        line.text.remove_suffix(1);
        line.carriage_return = true;
    }
    return line;
}

std::string ContentLines::next() {
    m_start = m_offset;
    m_line_number = m_lines_read + 1;
    PhysicalLine part = physical_line();
    std::string line(part.text);
    // libical looks for a continuation only after two bytes or more, the line end included.
    while (m_offset < m_text.size() && continues_a_line(m_text[m_offset]) &&
           (!line.empty() || part.carriage_return)) {
        ++m_offset;
        part = physical_line();
        line += part.text;
    }
    // libical leaves white space at a content line's end aside.
    line.erase(line.find_last_not_of(" \t\r\n\v\f") + 1);
    return line;
}

FileShape file_shape(std::string_view text) {
    std::vector<std::string> open;  // the components open at a line, outermost first
    bool closed_one = false;
    ContentLines lines(text);
    while (!lines.at_end()) {
        const std::string line = lines.next();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        const std::string number = std::to_string(lines.line_number());
        const Edge edge = edge_of(line);
        if (open.empty() && edge != Edge::begin) {
            if (closed_one) return {.length = lines.start(), .trailing_line = lines.line_number()};
            return {.problem = "it holds text outside any calendar, on line " + number};
        }
        if (edge == Edge::begin) {
            if (open.size() == most_nesting)
                return {.problem = "its components nest deeper than " + std::to_string(most_nesting) +
                                   " levels, on line " + number + ", which no calendar needs"};
            open.push_back(component_of(line));
        } else if (edge == Edge::end) {
            if (open.back() != component_of(line))
                return {.problem = "line " + number + " closes a component that is not open"};
            open.pop_back();
            closed_one = closed_one || open.empty();
        }
    }
    if (!open.empty()) return {.problem = "it ends inside a " + name_for_message(open.back()) + ": the file seems cut short"};
    return {.length = text.size()};
}

}  // namespace daybrook
