// EntryRecord: one diary entry, exactly as it is stored in its 111-byte file.
//
// Text fields hold Windows-1252 bytes. Decoding is bounded: a field without a zero byte ends
// before its last byte, where the terminating zero belongs, and missing bytes of a short file read
// as zeros. So a damaged file can never bring in bytes of another record, and a record read and
// written back reads the same again.
//
// A yearly entry's copy for next year names the entry it was made from in the text field, after
// the memo's terminating zero where every reader ignores the bytes: the last 14 bytes of the
// field hold a mark byte (0x01, which no memo holds), the 12-character file name and a zero. A
// memo longer than 66 characters leaves no room for it, and such a copy names no origin.
//
// An entry the sync received from an event of a calendar folder names that event just before
// that place (mark byte 0x02, a 12-character tag and a zero, in the 14 bytes before the origin's),
// so that a sync which lost its record of what it did still knows the entry's event, and so do
// the copies the renewal makes of it. A memo longer than 52 characters leaves no room for it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace daybrook {

struct EntryRecord {
    static constexpr std::size_t size = 111;
    static constexpr std::size_t text_field = 81;  // offset 0
    static constexpr std::size_t date_field = 9;   // offset 81
    static constexpr std::size_t file_field = 13;  // offset 90; yearly at 103, red at 107

    // yearly: 1 repeats each year and is still to be renewed, -1 was renewed, 0 is not yearly.
    static constexpr std::int32_t not_yearly = 0;
    static constexpr std::int32_t yearly_pending = 1;
    static constexpr std::int32_t yearly_renewed = -1;

    std::string text;  // the memo
    std::string date;  // "dd/mm/yy"
    std::string file;  // the file's own name, for example "DAT20793.000"
    std::int32_t yearly = not_yearly;
    std::int32_t red = 0;  // non-zero for a red-letter day
    std::string origin;    // the entry this one was renewed from, e.g. "DAT20427.000"; empty when none
    std::string event;     // the tag of the event the sync received this entry from; empty when none

    // The longest memos beside which an origin, and an event as well, still fit into the text field.
    static constexpr std::size_t longest_text_with_origin = 66;
    static constexpr std::size_t longest_text_with_event = 52;
    static constexpr std::size_t tail_name_size = 12;  // the size of an origin or an event tag

    friend bool operator==(const EntryRecord&, const EntryRecord&) = default;
};

using RecordBytes = std::array<unsigned char, EntryRecord::size>;

// The 111 bytes of a record, zero-filled. A text is cut to its field less one byte, so every
// stored field ends with a zero byte (a memo keeps at most 80 characters).
RecordBytes encode(const EntryRecord& record);

// The record held by up to 111 bytes; bytes beyond the given ones count as zero. A text keeps
// at most its field less one byte, as encode stores it: decode(encode(decode(b))) == decode(b).
EntryRecord decode(std::span<const unsigned char> bytes);

// The characters that make a memo meaningful; the pound sign is byte 0xA3.
inline constexpr std::string_view meaningful_chars =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890!\xA3$%&?@#";

// A memo is blank when it holds none of meaningful_chars.
bool is_blank(std::string_view text) noexcept;

}  // namespace daybrook
