// Composing the diary view: the clock line and, by page mode, the week page (eight days with
// their entries in slot order) or the search-results page (every entry whose memo holds the
// search word). Pure apart from reading the store; nothing is cached between paintings.
#pragma once

#include "calendar/clock.h"
#include "store/entry_files.h"
#include "diary/diary_state.h"
#include "window/page_items.h"

namespace daybrook {

ComposedPage compose_page(const DiaryState& state, const LocalTime& now, const StoreDir& store,
                          const PageGeometry& geometry);

// Whether an entry is listed by a search: its memo holds the word as a run of bytes, compared
// with 'A' to 'Z' folded to lower case unless the search is case sensitive; or all are shown.
bool search_matches(const ViewState& view, std::string_view text);

}  // namespace daybrook
