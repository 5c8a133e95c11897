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

// The origin's place at the end of the text field: the mark byte, the name, and a zero.
constexpr char origin_mark = '\x01';
constexpr std::size_t origin_name_size = 12;
constexpr std::size_t origin_offset = text_offset + EntryRecord::text_field - origin_name_size - 2;
static_assert(origin_offset == EntryRecord::longest_text_with_origin + 1);

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

// Writes the origin where it fits: beside a memo short enough, as a name of its full size.
void put_origin(RecordBytes& bytes, const EntryRecord& record) {
    if (record.origin.size() != origin_name_size || record.text.size() > EntryRecord::longest_text_with_origin ||
        record.origin.find('\0') != std::string::npos)
        return;
    bytes[origin_offset] = static_cast<unsigned char>(origin_mark);
    std::memcpy(bytes.data() + origin_offset + 1, record.origin.data(), origin_name_size);
}

// The origin that put_origin wrote; anything else in the field's tail is remains of an older memo.
std::string get_origin(const RecordBytes& bytes, std::size_t text_size) {
    const auto* mark = reinterpret_cast<const char*>(bytes.data() + origin_offset);
    if (text_size > EntryRecord::longest_text_with_origin || *mark != origin_mark) return {};
    const std::string name(mark + 1, ::strnlen(mark + 1, origin_name_size + 1));
    return name.size() == origin_name_size ? name : std::string{};
}

}  // namespace

RecordBytes encode(const EntryRecord& record) {
    RecordBytes bytes{};
    put_text(bytes, text_offset, EntryRecord::text_field, record.text);
    put_origin(bytes, record);
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
    record.origin = get_origin(padded, record.text.size());
    return record;
}

bool is_blank(std::string_view text) noexcept {
    return text.find_first_of(meaningful_chars) == std::string_view::npos;
}

}  // namespace daybrook
