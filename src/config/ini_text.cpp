#include "config/ini_text.h"

#include <algorithm>
#include <optional>

#include "calendar/text_helpers.h"

namespace daybrook {
namespace {

constexpr std::string_view blanks = " \t";

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool same_name(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

// One line of the text: its content and its line end ("\n", "\r\n" or nothing at the end).
struct Line {
    std::string_view content;
    std::string_view end;
};

std::string join(const std::vector<std::string>& pieces) {
    std::string text;
    for (const std::string& piece : pieces) text += piece;
    return text;
}

std::vector<Line> split_lines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view whole = text.substr(0, newline == std::string_view::npos ? text.size() : newline + 1);
        text.remove_prefix(whole.size());
        std::size_t content_size = whole.size();
        if (whole.ends_with('\n')) --content_size;
        if (content_size > 0 && whole[content_size - 1] == '\r') --content_size;
        lines.push_back({whole.substr(0, content_size), whole.substr(content_size)});
    }
    return lines;
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> section_of(std::string_view content) {
    const std::string_view line = trim(content);
    if (!line.starts_with('[')) return std::nullopt;
    const std::size_t close = line.find(']');
    return trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
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
        if (same_name(*key, values[i].key)) return i;
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

}  // namespace

std::string set_ini_values(std::string_view text, std::string_view section, const std::vector<IniValue>& values) {
    const std::vector<Line> lines = split_lines(text);
    const std::string_view eol = line_end_of(lines);
    std::vector<bool> found(values.size(), false);
    std::vector<std::string> out;
    bool in_section = false;  // inside any header of the section: its keys are set there
    bool in_first = false;    // inside its first header: missing keys are added there
    std::optional<std::size_t> insert_at;
    for (const Line& line : lines) {
        std::string written = std::string(line.content).append(line.end);
        if (const auto name = section_of(line.content)) {
            in_section = same_name(*name, section);
            in_first = in_section && !insert_at;
        } else if (const auto index = in_section ? value_index(line.content, values) : std::nullopt) {
            found[*index] = true;
            written = with_value(line, values[*index].value);
        }
        out.push_back(std::move(written));
        if (in_first && !trim(line.content).empty()) insert_at = out.size();
    }
    std::string added;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!found[i]) added.append(values[i].key).append("=").append(values[i].value).append(eol);
    if (added.empty()) return join(out);
    // A last line without its end gets one when something is added after it.
    const bool at_end = !insert_at || *insert_at == out.size();
    if (at_end && !lines.empty() && lines.back().end.empty()) out.back().append(eol);
    if (!insert_at) {
        out.push_back(std::string("[").append(section).append("]").append(eol));
        insert_at = out.size();
    }
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(*insert_at), std::move(added));
    return join(out);
}

}  // namespace daybrook
