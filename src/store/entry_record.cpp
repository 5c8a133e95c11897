#include "store/entry_record.h"

#include <algorithm>
#include <cstring>

namespace daybrook {
namespace {

constexpr std::size_t text_offset = 0;
constexpr std::size_t date_offset = text_offset + EntryRecord::text_field;
constexpr std::size_t file_offset = date_offset + EntryRecord::date_field;
constexpr std::size_t yearly_offset = file_offset + EntryRecord::file_field;
constexpr std::size_t red_offset = yearly_offset + 4;
static_assert(date_offset == 81 && file_offset == 90 && yearly_offset == 103);
static_assert(red_offset + 4 == EntryRecord::size);

// The places of the origin and of the event at the end of the text field, each for a mark byte,
// the name, and a zero.
struct Tail {
    char mark;
    std::size_t offset;
    std::size_t longest_text;
};
constexpr std::size_t tail_name_size = EntryRecord::tail_name_size;
constexpr Tail origin_tail{'\x01', text_offset + EntryRecord::text_field - tail_name_size - 2,
                           EntryRecord::longest_text_with_origin};
constexpr Tail event_tail{'\x02', origin_tail.offset - tail_name_size - 2, EntryRecord::longest_text_with_event};
static_assert(origin_tail.offset == EntryRecord::longest_text_with_origin + 1);
static_assert(event_tail.offset == EntryRecord::longest_text_with_event + 1);

// Keeps one byte of the field for the terminating zero, so that every stored field is a
// terminated string for any reader.
void put_text(RecordBytes& bytes, std::size_t offset, std::size_t field, std::string_view text) {
    const std::size_t length = std::min(text.size(), field - 1);
    std::memcpy(bytes.data() + offset, text.data(), length);
}

void put_int(RecordBytes& bytes, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(bits >> (8 * i));
}

// The text ends at the first zero byte or before the field's last byte, whichever comes first:
// a damaged field without its terminating zero reads as encode would have stored it.
std::string get_text(const RecordBytes& bytes, std::size_t offset, std::size_t field) {
    const auto* begin = reinterpret_cast<const char*>(bytes.data() + offset);
    return std::string(begin, ::strnlen(begin, field - 1));
}

std::int32_t get_int(const RecordBytes& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) bits |= std::uint32_t{bytes[offset + i]} << (8 * i);
    return static_cast<std::int32_t>(bits);
}

// Writes a name in its place where it fits: beside a memo short enough, and of its full size.
void put_tail(RecordBytes& bytes, const Tail& tail, std::string_view text, std::string_view name) {
    if (name.size() != tail_name_size || text.size() > tail.longest_text || name.find('\0') != std::string::npos)
        return;
    bytes[tail.offset] = static_cast<unsigned char>(tail.mark);
    std::memcpy(bytes.data() + tail.offset + 1, name.data(), tail_name_size);
}

// The name that put_tail wrote; anything else in the field's tail is remains of an older memo.
std::string get_tail(const RecordBytes& bytes, const Tail& tail, std::size_t text_size) {
    const auto* mark = reinterpret_cast<const char*>(bytes.data() + tail.offset);
    if (text_size > tail.longest_text || *mark != tail.mark) return {};
    const std::string name(mark + 1, ::strnlen(mark + 1, tail_name_size + 1));
    return name.size() == tail_name_size ? name : std::string{};
}

}  // namespace

RecordBytes encode(const EntryRecord& record) {
    RecordBytes bytes{};
    put_text(bytes, text_offset, EntryRecord::text_field, record.text);
    put_tail(bytes, origin_tail, record.text, record.origin);
    put_tail(bytes, event_tail, record.text, record.event);
    put_text(bytes, date_offset, EntryRecord::date_field, record.date);
    put_text(bytes, file_offset, EntryRecord::file_field, record.file);
    put_int(bytes, yearly_offset, record.yearly);
    put_int(bytes, red_offset, record.red);
    return bytes;
}

EntryRecord decode(std::span<const unsigned char> bytes) {
    RecordBytes padded{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), padded.size()), padded.begin());
    EntryRecord record;
    record.text = get_text(padded, text_offset, EntryRecord::text_field);
    record.date = get_text(padded, date_offset, EntryRecord::date_field);
    record.file = get_text(padded, file_offset, EntryRecord::file_field);
    record.yearly = get_int(padded, yearly_offset);
    record.red = get_int(padded, red_offset);
    record.origin = get_tail(padded, origin_tail, record.text.size());
    record.event = get_tail(padded, event_tail, record.text.size());
    return record;
}

bool is_blank(std::string_view text) noexcept {
    return text.find_first_of(meaningful_chars) == std::string_view::npos;
}

}  // namespace daybrook
