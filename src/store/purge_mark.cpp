#include "store/purge_mark.h"

#include <cstdio>
#include <span>
#include <string>

#include "calendar/text_helpers.h"
#include "store/file_writes.h"
#include "store/small_file.h"

namespace daybrook {
namespace {

constexpr std::string_view mark_tag = "daybrook-purged ";
constexpr std::size_t largest_mark = 64;

std::string mark_text(DayNumber day) { return std::string(mark_tag) + std::to_string(day) + '\n'; }

}  // namespace

std::optional<DayNumber> read_purge_mark(const StoreDir& dir) {
    const SmallFileRead file = read_small_file(dir / purge_mark_file, largest_mark);
    if (!file.read()) return std::nullopt;
    const std::string_view text = file.bytes;
    if (!text.starts_with(mark_tag)) return std::nullopt;
    const DayNumber day = text_to_int(text.substr(mark_tag.size()));
    // Anything but exactly what was written, or a day outside the diary's, is no mark.
    if (text != mark_text(day) || day < 0 || day > last_diary_day) return std::nullopt;
    return day;
}

bool raise_purge_mark(const StoreDir& dir, DayNumber day) {
    const std::optional<DayNumber> mark = read_purge_mark(dir);
    if (mark && *mark >= day) return true;
    const std::string text = mark_text(day);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    return replace_file((dir / purge_mark_file).string(), std::span(bytes, text.size()));
}

}  // namespace daybrook
