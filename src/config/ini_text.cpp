#include "config/ini_text.h"

#include <algorithm>
#include <optional>

#include "calendar/text_helpers.h"

namespace daybrook {
namespace {

constexpr std::string_view blanks = " \t";
// Skipped by the reader at the start of the text, and kept here as it is.
constexpr std::string_view utf8_signature = "\xEF\xBB\xBF";

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// One line of the text: its content and its line end ("\n", "\r\n", "\r" or nothing at the end).
struct Line {
    std::string_view content;
    std::string_view end;
};

std::string join(const std::vector<std::string>& pieces) {
    std::string text;
    for (const std::string& piece : pieces) text += piece;
    return text;
}

// Lines end where the reader ends them: at "\r\n", "\n" or a "\r" alone.
std::vector<Line> split_lines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const std::size_t stop = text.find_first_of("\r\n");
        if (stop == std::string_view::npos) {
            lines.push_back({text, {}});
            break;
        }
        const std::size_t end_size = text.substr(stop).starts_with("\r\n") ? 2 : 1;
        lines.push_back({text.substr(0, stop), text.substr(stop, end_size)});
        text.remove_prefix(stop + end_size);
    }
    return lines;
}

// A section header as the reader takes it: "[", blanks and even whole blank lines, then the name
// up to a "]" on the name's line, and anything after that. A header whose name line has no "]"
// names no section (the keys after it belong to none until the next header).
struct Header {
    enum State { none, open, named, unnamed } state = none;  // open: the name is still to come
    std::string_view name;
};

// What the line is of a header: `open` when a header's name is still to come.
Header header_of(std::string_view content, bool open) {
    std::string_view line = trim(content);
    if (!open) {
        if (!line.starts_with('[')) return {};
        line = trim(line.substr(1));
    }
    if (line.empty()) return {Header::open};
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return {Header::unnamed};
    return {Header::named, trim(line.substr(0, close))};
}

bool is_comment(std::string_view content) {
    const std::string_view line = trim(content);
    return line.starts_with(';') || line.starts_with('#');
}

// The key of a "key=value" line, or nothing.
std::optional<std::string_view> key_of(std::string_view content) {
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos || is_comment(content)) return std::nullopt;
    return trim(content.substr(0, equals));
}

// The index of the value whose key the line sets, or nothing.
std::optional<std::size_t> value_index(std::string_view content, const std::vector<IniValue>& values) {
    const std::optional<std::string_view> key = key_of(content);
    if (!key) return std::nullopt;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (equal_ignoring_case(*key, values[i].key)) return i;
    return std::nullopt;
}

// The line with its value replaced: the key, "=" and the spaces after it stay as they were.
std::string with_value(const Line& line, const std::string& value) {
    const std::size_t equals = line.content.find('=');
    const std::size_t value_start = line.content.find_first_not_of(blanks, equals + 1);
    std::string result(line.content.substr(0, std::min(value_start, line.content.size())));
    result.append(value).append(line.end);
    return result;
}

// The line end the text uses, for the lines the diary adds.
std::string_view line_end_of(const std::vector<Line>& lines) {
    for (const Line& line : lines)
        if (!line.end.empty()) return line.end;
    return "\n";
}

// The text's lines with the values set where the section already holds their keys, and what is
// needed to add the others.
struct RewrittenLines {
    std::vector<std::string> out;            // the lines with their ends, after the signature
    std::vector<bool> found;                 // which values were set in place
    std::optional<std::size_t> insert_at;    // after the first header's last line that is not blank
    bool header_open = false;                // the text ends in a header whose name is still to come
    std::size_t open_header_at = 0;          // where that header starts
};

RewrittenLines rewrite_lines(const std::vector<Line>& lines, std::string_view signature, std::string_view section,
                             const std::vector<IniValue>& values) {
    RewrittenLines result{.out = {std::string(signature)}, .found = std::vector<bool>(values.size(), false)};
    bool in_section = false;  // inside any header of the section: its keys are set there
    bool in_first = false;    // inside its first header: missing keys are added there
    for (const Line& line : lines) {
        std::string written = std::string(line.content).append(line.end);
        const Header header = header_of(line.content, result.header_open);
        if (header.state != Header::none) {
            if (!result.header_open) result.open_header_at = result.out.size();
            result.header_open = header.state == Header::open;
            in_section = header.state == Header::named && equal_ignoring_case(header.name, section);
            in_first = in_section && !result.insert_at;
        } else if (const auto index = in_section ? value_index(line.content, values) : std::nullopt) {
            result.found[*index] = true;
            written = with_value(line, values[*index].value);
        }
        result.out.push_back(std::move(written));
        if (in_first && !trim(line.content).empty()) result.insert_at = result.out.size();
    }
    return result;
}

// "key=value" lines for the values the text did not hold.
std::string missing_lines(const std::vector<IniValue>& values, const std::vector<bool>& found, std::string_view eol) {
    std::string added;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!found[i]) added.append(values[i].key).append("=").append(values[i].value).append(eol);
    return added;
}

}  // namespace

std::string set_ini_values(std::string_view text, std::string_view section, const std::vector<IniValue>& values) {
    const std::string_view signature = text.starts_with(utf8_signature) ? utf8_signature : std::string_view{};
    const std::vector<Line> lines = split_lines(text.substr(signature.size()));
    const std::string_view eol = line_end_of(lines);
    RewrittenLines rewritten = rewrite_lines(lines, signature, section, values);
    std::vector<std::string>& out = rewritten.out;
    std::string added = missing_lines(values, rewritten.found, eol);
    if (added.empty()) return join(out);
    std::optional<std::size_t> insert_at = rewritten.insert_at;
    if (!insert_at) {
        // A new section goes at the end, but before a header left open there: the reader would
        // take the new header's line for that header's name.
        added.insert(0, std::string("[").append(section).append("]").append(eol));
        insert_at = rewritten.header_open ? rewritten.open_header_at : out.size();
    }
    // A last line without its end gets one when something is added after it.
    if (*insert_at == out.size() && !lines.empty() && lines.back().end.empty()) out.back().append(eol);
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(*insert_at), std::move(added));
    return join(out);
}

}  // namespace daybrook
