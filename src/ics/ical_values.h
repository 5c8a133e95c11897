// Small readings of libical's values that the import's parts share: a text that may be missing,
// and the lists of a repeat rule, which end at ICAL_RECURRENCE_ARRAY_MAX.
#pragma once

#include <libical/ical.h>

#include <cstddef>
#include <string>

namespace daybrook {

inline std::string text_of(const char* value) { return value ? std::string(value) : std::string(); }

inline bool empty_list(const short* list) { return list[0] == ICAL_RECURRENCE_ARRAY_MAX; }

// Whether the list holds `value` and nothing else.
inline bool holds_only(const short* list, int value) {
    return list[0] == value && list[1] == ICAL_RECURRENCE_ARRAY_MAX;
}

inline std::size_t list_size(const short* list, std::size_t capacity) {
    std::size_t size = 0;
    while (size < capacity && list[size] != ICAL_RECURRENCE_ARRAY_MAX) ++size;
    return size;
}

}  // namespace daybrook
