// The shape of a calendar file's text, checked before libical reads it: whether its components
// open and close in order, how deep they nest, and where the calendar ends. libical forgives a
// file cut short and frees a component tree by recursion, so both are judged here, on the same
// content lines libical reads.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace daybrook {

// Deeper than any calendar program nests components (a calendar, an event, an alarm, a few
// custom parts): libical frees a tree by recursion, and a file of a few hundred thousand nested
// BEGIN lines would overflow the stack.
inline constexpr std::size_t most_nesting = 40;

// The content lines of a text in turn, unfolded as libical unfolds them: a line ends at a line
// feed, with one carriage return before it left out, and each following line that begins with
// a space or a tab continues it, joined without that first character. A line of a bare line
// feed is continued by nothing, as libical has it: the next line starts a content line of its
// own, its space kept.
class ContentLines {
public:
    explicit ContentLines(std::string_view text) : m_text(text) {}

    bool at_end() const { return m_offset == m_text.size(); }
    // The next content line; at_end() must be false.
    std::string next();
    // Where the content line that next() gave last begins: its offset in the text and the
    // number of its first physical line, counted from 1.
    std::size_t start() const { return m_start; }
    int line_number() const { return m_line_number; }

private:
    struct PhysicalLine {
        std::string_view text;  // without its line end
        bool carriage_return = false;  // whether one was left out before the line feed
    };
    PhysicalLine physical_line();

    std::string_view m_text;
    std::size_t m_offset = 0;
    std::size_t m_start = 0;
    int m_line_number = 0;
    int m_lines_read = 0;
};

// What the text holds as a calendar file: `problem` tells why it cannot be a whole one, or is
// empty. Every component opened by BEGIN closes by a matching END before the text ends, they
// nest at most most_nesting deep, and nothing but blank lines stands before the first one.
// libical forgives a file cut off after its first calendar; the diary does not import half a
// file. Text after a closed calendar that opens no further component (a comment some servers
// add) ends what is read: `length` is the part before it, and `trailing_line` its line number.
struct FileShape {
    std::string problem;
    std::size_t length = 0;
    int trailing_line = 0;
};

FileShape file_shape(std::string_view text);

}  // namespace daybrook
