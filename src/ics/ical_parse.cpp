#include "ics/ical_parse.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

namespace daybrook {
namespace {

struct TextSource {
    std::string_view text;
    std::size_t offset = 0;
};

// libical's line generator: like fgets, it puts the next part of a line into `out`, at most
// `size` - 1 bytes and up to and including the line feed, and ends it with a zero byte; it
// gives nothing at the text's end. Each byte is copied once and looked at once.
char* next_part(char* out, std::size_t size, void* data) {
    auto& source = *static_cast<TextSource*>(data);
    if (source.offset == source.text.size() || size < 2) return nullptr;
    const char* start = source.text.data() + source.offset;
    std::size_t length = std::min(size - 1, source.text.size() - source.offset);
    if (const void* line_feed = std::memchr(start, '\n', length))
        length = static_cast<std::size_t>(static_cast<const char*>(line_feed) - start) + 1;
    std::memcpy(out, start, length);
    out[length] = '\0';
    source.offset += length;
    return out;
}

struct ParserFree {
    void operator()(icalparser* parser) const { icalparser_free(parser); }
};

}  // namespace

IcalComponent parse_ical(std::string_view text) {
    TextSource source{text};
    const std::unique_ptr<icalparser, ParserFree> parser(icalparser_new());
    if (!parser) return nullptr;
    icalparser_set_gen_data(parser.get(), &source);
    // As icalparser_parse_string does: a malformed line becomes an X-LIC-ERROR property, which
    // the planner reads, instead of an abort.
    const icalerrorstate before = icalerror_get_error_state(ICAL_MALFORMEDDATA_ERROR);
    icalerror_set_error_state(ICAL_MALFORMEDDATA_ERROR, ICAL_ERROR_NONFATAL);
    IcalComponent root(icalparser_parse(parser.get(), next_part));
    icalerror_set_error_state(ICAL_MALFORMEDDATA_ERROR, before);
    return root;
}

}  // namespace daybrook
